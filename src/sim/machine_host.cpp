#include "sim/machine_host.h"

#include <cstdlib>

#include "sim/excel/instance.h"

namespace harumado::sim {
namespace {

constexpr char kFormatMarker[] = "harumado-double-format ";
using platform::ActiveCellProperty;
using platform::CellProperty;
using platform::ShapeProperty;

// Each object runs the host's step after its call, whether the call succeeded or failed.
class AfterScope {
 public:
  explicit AfterScope(MachineHost& host) : host_(host) {}
  ~AfterScope() { host_.AfterCall(); }
  AfterScope(const AfterScope&) = delete;
  AfterScope& operator=(const AfterScope&) = delete;

 private:
  MachineHost& host_;
};

class Range final : public platform::ExcelRange {
 public:
  Range(MachineHost& host, std::unique_ptr<platform::ExcelRange> inner)
      : host_(host), inner_(std::move(inner)) {}
  void Select() override {
    AfterScope after(host_);
    inner_->Select();
  }

 private:
  MachineHost& host_;
  std::unique_ptr<platform::ExcelRange> inner_;
};

class Workbook final : public platform::ExcelWorkbook {
 public:
  Workbook(MachineHost& host, std::unique_ptr<platform::ExcelWorkbook> inner)
      : host_(host), inner_(std::move(inner)) {}
  std::wstring Name() override { return inner_->Name(); }
  void SaveAs(const std::wstring& path, int file_format) override {
    AfterScope after(host_);
    host_.LoadFile(path);
    inner_->SaveAs(path, file_format);
  }
  void Close(bool save_changes) override {
    AfterScope after(host_);
    inner_->Close(save_changes);
  }

 private:
  MachineHost& host_;
  std::unique_ptr<platform::ExcelWorkbook> inner_;
};

class Sheet final : public platform::ExcelSheet {
 public:
  Sheet(MachineHost& host, std::unique_ptr<platform::ExcelSheet> inner)
      : host_(host), inner_(std::move(inner)) {}
  void Paste() override {
    AfterScope after(host_);
    host_.ReadClipboard();
    inner_->Paste();
  }
  void PastePicture() override {
    AfterScope after(host_);
    host_.ReadClipboard();
    inner_->PastePicture();
  }
  int ShapeCount() override { return inner_->ShapeCount(); }
  void SetShapeProperty(int index, ShapeProperty property, double value) override {
    AfterScope after(host_);
    inner_->SetShapeProperty(index, property, value);
  }
  rt::Value GetCell(std::int32_t row, std::int32_t column, CellProperty property) override {
    return inner_->GetCell(row, column, property);
  }
  void SetCell(std::int32_t row, std::int32_t column, CellProperty property,
               const rt::Value& value) override {
    AfterScope after(host_);
    inner_->SetCell(row, column, property, value);
  }
  std::vector<rt::Value> GetColumnCells(std::int32_t column, std::int32_t first_row,
                                        std::int32_t last_row, CellProperty property) override {
    return inner_->GetColumnCells(column, first_row, last_row, property);
  }
  void EmptyColumnCells(std::int32_t column, std::int32_t first_row,
                        std::int32_t last_row) override {
    AfterScope after(host_);
    inner_->EmptyColumnCells(column, first_row, last_row);
  }
  void SetColumnCells(std::int32_t column, std::int32_t first_row, CellProperty property,
                      std::span<const rt::Value> values) override {
    AfterScope after(host_);
    inner_->SetColumnCells(column, first_row, property, values);
  }
  std::int32_t RowCount() override { return inner_->RowCount(); }
  std::int32_t EndUpRow(std::int32_t row, std::int32_t column) override {
    return inner_->EndUpRow(row, column);
  }
  void SetColumnWidth(std::int32_t column, double width) override {
    AfterScope after(host_);
    inner_->SetColumnWidth(column, width);
  }
  void AutoFitColumn(std::int32_t column) override {
    AfterScope after(host_);
    inner_->AutoFitColumn(column);
  }

 private:
  MachineHost& host_;
  std::unique_ptr<platform::ExcelSheet> inner_;
};

class Application final : public platform::ExcelApplication {
 public:
  Application(MachineHost& host, std::unique_ptr<platform::ExcelApplication> owned,
              platform::ExcelApplication* inner)
      : host_(host), owned_(std::move(owned)), inner_(inner) {}
  void SetVisible(bool visible) override {
    AfterScope after(host_);
    inner_->SetVisible(visible);
  }
  void SetDisplayAlerts(bool display) override { inner_->SetDisplayAlerts(display); }
  std::unique_ptr<platform::ExcelWorkbook> OpenWorkbook(const std::wstring& path) override {
    AfterScope after(host_);
    host_.LoadFile(path);
    return std::make_unique<Workbook>(host_, inner_->OpenWorkbook(path));
  }
  std::unique_ptr<platform::ExcelWorkbook> AddWorkbook() override {
    AfterScope after(host_);
    return std::make_unique<Workbook>(host_, inner_->AddWorkbook());
  }
  void Quit() override {
    AfterScope after(host_);
    inner_->Quit();
  }
  platform::WindowHandle Hwnd() override { return inner_->Hwnd(); }
  std::vector<int> ClipboardFormats() override {
    host_.ReadClipboard();
    return inner_->ClipboardFormats();
  }
  std::unique_ptr<platform::ExcelSheet> ActiveSheet() override {
    auto sheet = inner_->ActiveSheet();
    if (!sheet) return nullptr;
    return std::make_unique<Sheet>(host_, std::move(sheet));
  }
  double GetActiveCell(ActiveCellProperty property) override {
    return inner_->GetActiveCell(property);
  }
  void SelectOffset(std::int16_t rows, const rt::Value& columns) override {
    AfterScope after(host_);
    inner_->SelectOffset(rows, columns);
  }
  std::unique_ptr<platform::ExcelRange> RangeSelection() override {
    auto range = inner_->RangeSelection();
    if (!range) return nullptr;
    return std::make_unique<Range>(host_, std::move(range));
  }

 private:
  MachineHost& host_;
  std::unique_ptr<platform::ExcelApplication> owned_;
  platform::ExcelApplication* inner_;
};

}  // namespace

std::string WorkbookFileBytes(const SimFile& file) {
  std::string bytes = file.bytes;
  const std::size_t marker = bytes.find(kFormatMarker);
  if (marker != std::string::npos) bytes.resize(marker);
  return bytes + "\r\n" + kFormatMarker + std::to_string(file.excel_format.value_or(0)) + "\r\n";
}

SimFile WorkbookFileFromBytes(const std::wstring& path, const std::string& bytes) {
  int format = FileFormatForName(path);
  if (const auto at = bytes.find(kFormatMarker); at != std::string::npos) {
    format = std::atoi(bytes.c_str() + at + sizeof kFormatMarker - 1);
  }
  return SimFile{bytes, format, false};
}

MachineHost::MachineHost(Desktop& desktop, Machine machine)
    : desktop_(desktop), machine_(std::move(machine)) {}

std::unique_ptr<platform::ExcelApplication> MachineHost::Wrap(
    std::unique_ptr<platform::ExcelApplication> a) {
  platform::ExcelApplication* inner = a.get();
  return std::make_unique<Application>(*this, std::move(a), inner);
}

std::unique_ptr<platform::ExcelApplication> MachineHost::GetActiveObject() {
  return Wrap(desktop_.excel.GetActiveObject());
}

std::unique_ptr<platform::ExcelApplication> MachineHost::CreateObject() {
  AfterScope after(*this);
  return Wrap(desktop_.excel.CreateObject());
}

platform::ExcelApplication& MachineHost::GlobalApplication() {
  if (!global_) {
    global_ = std::make_unique<Application>(*this, nullptr, &desktop_.excel.GlobalApplication());
  }
  return *global_;
}

void MachineHost::ReadClipboard() {
  if (machine_.read_clipboard) desktop_.clipboard.Preset(machine_.read_clipboard());
}

// The file on disk replaces whatever the simulated file system held under its path.
void MachineHost::LoadFile(const std::wstring& path) {
  paths_.insert(path);
  desktop_.files.Remove(path);
  if (!machine_.read_file) return;
  if (const auto bytes = machine_.read_file(path)) {
    SimFile file = WorkbookFileFromBytes(path, *bytes);
    // As written back, so that opening a workbook does not write its file.
    written_[path] = WorkbookFileBytes(file);
    desktop_.files.Put(path, std::move(file));
  }
}

// Workbooks saved by the call are written to disk; then the report follows.
void MachineHost::AfterCall() {
  for (const auto& instance : desktop_.excel.instances()) {
    for (const auto& workbook : instance->workbooks()) {
      if (!workbook->path().empty()) paths_.insert(workbook->path());
    }
  }
  for (const std::wstring& path : paths_) {
    const SimFile* file = desktop_.files.Find(path);
    if (file == nullptr) continue;
    std::string bytes = WorkbookFileBytes(*file);
    auto& last = written_[path];
    if (bytes == last) continue;
    if (machine_.write_file) machine_.write_file(path, bytes);
    last = std::move(bytes);
  }
  if (changed) changed();
}

}  // namespace harumado::sim
