#include "sim/excel/sim_excel.h"

#include <algorithm>

#include "runtime/automation_error.h"

namespace harumado::sim {

// The titles of the instances' main windows are read like any other window's.
SimExcel::SimExcel(World& world, SimClipboard& clipboard, SimFileSystem& files)
    : world_(world), clipboard_(clipboard), files_(files) {
  world_.foreign_title = [this](platform::WindowHandle window, std::wstring& title) {
    for (const auto& i : running_) {
      if (i->window() == window) {
        title = i->Title();
        return true;
      }
    }
    return false;
  };
}

SimExcel::~SimExcel() {
  world_.foreign_title = nullptr;
  global_.reset();
}

std::shared_ptr<ExcelInstance> SimExcel::StartInstance(bool visible) {
  auto instance =
      std::make_shared<ExcelInstance>(world_.NewForeignHandle(), next_serial_++, visible);
  running_.push_back(instance);
  world_.Trace(L"excel instance " + std::to_wstring(instance->serial()) + L" starts" +
               (visible ? L" visible" : L" hidden"));
  return instance;
}

// The running list may hold the instance's last reference: nothing of it is read after the
// erase.
void SimExcel::Quit(ExcelInstance& instance) {
  instance.End();
  const auto serial = instance.serial();
  std::erase_if(running_, [&](const auto& i) { return i.get() == &instance; });
  world_.Trace(L"excel instance " + std::to_wstring(serial) + L" ends");
}

void SimExcel::QuitAll() {
  while (!running_.empty()) Quit(*running_.front());
}

void SimExcel::StartGlobalOther() {
  auto other = StartInstance(true);
  global_other_ = other;
  if (global_) global_->Bind(other);
}

std::shared_ptr<ExcelInstance> SimExcel::FirstVisibleInstance() const {
  for (const auto& i : running_) {
    if (i->visible()) return i;
  }
  return nullptr;
}

ExcelInstance* SimExcel::ActiveInstance() const {
  if (auto visible = FirstVisibleInstance()) return visible.get();
  return running_.empty() ? nullptr : running_.back().get();
}

SimSheet* SimExcel::ActiveSheet() const {
  ExcelInstance* i = ActiveInstance();
  if (i == nullptr || !i->active_workbook()) return nullptr;
  return &i->active_workbook()->active_sheet();
}

bool SimExcel::IsWorkbookOpen(const std::wstring& name) const {
  return std::any_of(running_.begin(), running_.end(),
                     [&](const auto& i) { return i->Find(name) != nullptr; });
}

platform::WindowHandle SimExcel::ActiveWindowHandle() const {
  ExcelInstance* i = ActiveInstance();
  return i ? i->window() : 0;
}

// GetObject(, "Excel.Application") finds the first visible instance only.
std::unique_ptr<platform::ExcelApplication> SimExcel::GetActiveObject() {
  gate_.Enter(L"GetActiveObject", nullptr);
  auto instance = FirstVisibleInstance();
  if (!instance) throw rt::AutomationError(rt::err::kCannotCreateObject);
  return MakeApplicationObject(*this, instance, true);
}

std::unique_ptr<platform::ExcelApplication> SimExcel::CreateObject() {
  gate_.Enter(L"CreateObject", nullptr);
  return MakeApplicationObject(*this, StartInstance(false), true);
}

// The Global object reaches the instance that the active-object lookup gives (or the other
// instance the world bound it to); with none running, creating it the first time starts a
// hidden instance. Binding again after its instance has gone never starts one: with no Excel
// running the call fails as the gone server's calls do.
std::shared_ptr<ExcelInstance> SimExcel::ResolveGlobal() {
  if (auto other = global_other_.lock(); other && other->running()) return other;
  if (auto instance = FirstVisibleInstance()) return instance;
  if (global_ever_bound_) throw rt::AutomationError(rt::err::kServerUnavailable);
  return StartInstance(false);
}

platform::ExcelApplication& SimExcel::GlobalApplication() {
  if (!global_) global_ = std::make_unique<GlobalApplicationObject>(*this);
  global_->BindQuietly();
  global_ever_bound_ = true;
  return *global_;
}

bool SimExcel::CanSaveFileFormat(int file_format) {
  return std::find(unsavable_formats.begin(), unsavable_formats.end(), file_format) ==
         unsavable_formats.end();
}

}  // namespace harumado::sim
