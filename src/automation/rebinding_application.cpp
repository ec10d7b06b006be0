#include "automation/rebinding_application.h"

#include "automation/error_numbers.h"
#include "runtime/automation_error.h"

namespace harumado::automation {

void RebindingApplication::BindQuietly() {
  if (bound_) return;
  try {
    bound_ = Reach();
  } catch (const rt::AutomationError&) {
    // Left unbound: the next call through it binds again and reports the failure.
  }
}

void RebindingApplication::BindTo(std::unique_ptr<platform::ExcelApplication> application) {
  bound_ = std::move(application);
}

// Every failure after which the server's objects can no longer be used (IsServerGone) drops the
// binding: Excel ended (0x800706BA), its process died during the call (0x800706BE), or it
// disconnected its objects.
template <typename Call>
auto RebindingApplication::Through(Call call) {
  if (!bound_) bound_ = Reach();
  try {
    return call(*bound_);
  } catch (const rt::AutomationError& e) {
    if (IsServerGone(e.number())) {
      bound_.reset();
      Dropped();
    }
    throw;
  }
}

void RebindingApplication::SetVisible(bool visible) {
  Through([&](platform::ExcelApplication& a) { a.SetVisible(visible); });
}
void RebindingApplication::SetDisplayAlerts(bool display) {
  Through([&](platform::ExcelApplication& a) { a.SetDisplayAlerts(display); });
}
std::unique_ptr<platform::ExcelWorkbook> RebindingApplication::OpenWorkbook(
    const std::wstring& path) {
  return Through([&](platform::ExcelApplication& a) { return a.OpenWorkbook(path); });
}
std::unique_ptr<platform::ExcelWorkbook> RebindingApplication::AddWorkbook() {
  return Through([&](platform::ExcelApplication& a) { return a.AddWorkbook(); });
}
void RebindingApplication::Quit() {
  Through([&](platform::ExcelApplication& a) { a.Quit(); });
}
platform::WindowHandle RebindingApplication::Hwnd() {
  return Through([&](platform::ExcelApplication& a) { return a.Hwnd(); });
}
std::vector<int> RebindingApplication::ClipboardFormats() {
  return Through([&](platform::ExcelApplication& a) { return a.ClipboardFormats(); });
}
std::unique_ptr<platform::ExcelSheet> RebindingApplication::ActiveSheet() {
  return Through([&](platform::ExcelApplication& a) { return a.ActiveSheet(); });
}
double RebindingApplication::GetActiveCell(platform::ActiveCellProperty property) {
  return Through([&](platform::ExcelApplication& a) { return a.GetActiveCell(property); });
}
void RebindingApplication::SelectOffset(std::int16_t rows, const rt::Value& columns) {
  Through([&](platform::ExcelApplication& a) { a.SelectOffset(rows, columns); });
}
std::unique_ptr<platform::ExcelRange> RebindingApplication::RangeSelection() {
  return Through([&](platform::ExcelApplication& a) { return a.RangeSelection(); });
}

}  // namespace harumado::automation
