#include "fake_host.h"

#include "runtime/automation_error.h"

namespace harumado::workbook::fake {
namespace {

// Counts itself in the host's live objects for as long as it exists.
class Counted {
 public:
  explicit Counted(int& live) : live_(live) { ++live_; }
  ~Counted() { --live_; }
  Counted(const Counted&) = delete;
  Counted& operator=(const Counted&) = delete;

 private:
  int& live_;
};

class FakeWorkbook : public platform::ExcelWorkbook {
 public:
  FakeWorkbook(FakeHost& host, int instance, std::wstring name)
      : host_(host), counted_(host.live_objects), instance_(instance), name_(std::move(name)) {}
  std::wstring Name() override {
    Call(L"Name");
    return name_;
  }
  void SaveAs(const std::wstring& path, int format) override {
    Call(L"SaveAs", path + L" " + std::to_wstring(format));
    if (host_.on_save) host_.on_save(path, format);
  }
  void Close(bool save_changes) override { Call(L"Close", save_changes ? L"true" : L"false"); }

 private:
  void Call(const std::wstring& op, const std::wstring& detail = L"") {
    host_.Call(op, L"#" + std::to_wstring(instance_) + (detail.empty() ? L"" : L" " + detail));
  }
  FakeHost& host_;
  Counted counted_;
  int instance_;
  std::wstring name_;
};

class FakeApplication : public platform::ExcelApplication {
 public:
  // instance 0: the application of Excel's global object, which is not counted.
  FakeApplication(FakeHost& host, int instance)
      : host_(host),
        instance_(instance),
        counted_(instance ? new Counted(host.live_objects) : nullptr) {}
  void SetVisible(bool visible) override {
    Call(L"Visible", visible ? L"true" : L"false");
    host_.instance(instance_).visible = visible;
  }
  void SetDisplayAlerts(bool display) override {
    Call(L"DisplayAlerts", display ? L"true" : L"false");
  }
  std::unique_ptr<platform::ExcelWorkbook> OpenWorkbook(const std::wstring& path) override {
    Call(L"Workbooks.Open", path);
    return std::make_unique<FakeWorkbook>(host_, instance_, path.substr(path.rfind(L'\\') + 1));
  }
  std::unique_ptr<platform::ExcelWorkbook> AddWorkbook() override {
    Call(L"Workbooks.Add");
    return std::make_unique<FakeWorkbook>(host_, instance_, L"Book1");
  }
  void Quit() override {
    Call(L"Quit");
    host_.instance(instance_).running = false;
  }
  platform::WindowHandle Hwnd() override {
    Call(L"Hwnd");
    return 0x7000;
  }
  std::vector<int> ClipboardFormats() override { return {}; }
  std::unique_ptr<platform::ExcelSheet> ActiveSheet() override { return nullptr; }
  double GetActiveCell(platform::ActiveCellProperty) override { return 0; }
  void SelectOffset(std::int16_t, const rt::Value&) override {}
  std::unique_ptr<platform::ExcelRange> RangeSelection() override { return nullptr; }

 private:
  void Call(const std::wstring& op, const std::wstring& detail = L"") {
    host_.Call(op, L"#" + std::to_wstring(instance_) + (detail.empty() ? L"" : L" " + detail));
  }
  FakeHost& host_;
  int instance_;
  std::unique_ptr<Counted> counted_;
};

}  // namespace

void FakeHost::Call(const std::wstring& operation, const std::wstring& detail) {
  log.push_back(detail.empty() ? operation : operation + L" " + detail);
  if (on_call) on_call(operation);
  auto it = failures.find(operation);
  if (it != failures.end() && !it->second.empty()) {
    const std::int32_t number = it->second.front();
    it->second.pop_front();
    log.back() += L" fails";
    throw rt::AutomationError(number);
  }
}

std::unique_ptr<platform::ExcelApplication> FakeHost::GetActiveObject() {
  Call(L"GetActiveObject");
  for (const auto& i : instances_) {
    if (i.running && i.visible) return std::make_unique<FakeApplication>(*this, i.id);
  }
  throw rt::AutomationError(rt::err::kCannotCreateObject);
}

std::unique_ptr<platform::ExcelApplication> FakeHost::CreateObject() {
  Call(L"CreateObject");
  instances_.push_back({static_cast<int>(instances_.size()) + 1, false, true});
  return std::make_unique<FakeApplication>(*this, instances_.back().id);
}

platform::ExcelApplication& FakeHost::GlobalApplication() {
  if (!global_) global_ = std::make_unique<FakeApplication>(*this, 0);
  return *global_;
}

void FakeHost::SetBusyPolicy(int timeout_ms) {
  log.push_back(L"SetBusyPolicy " + std::to_wstring(timeout_ms));
}

void FakeHost::StartVisible() {
  instances_.push_back({static_cast<int>(instances_.size()) + 1, true, true});
}

}  // namespace harumado::workbook::fake
