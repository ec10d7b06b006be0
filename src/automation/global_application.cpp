#include "automation/global_application.h"

#include "automation/error_numbers.h"
#include "automation/excel_members.h"
#include "automation/late_bound_objects.h"
#include "core/runtime/automation_error.h"

namespace harumado::automation {

// The first binding goes through Excel's Global class, which starts a hidden Excel when none
// runs; where that class is not registered, the running instance is taken, or a new one is
// started. Once a binding was tried, binding again only ever reaches a running Excel: with none
// running the call fails as a call to a gone server does.
void GlobalApplication::Bind() {
  if (ever_bound_ && !runtime_.IsRunning(excel::kApplicationProgId)) {
    throw rt::AutomationError(static_cast<std::int32_t>(hresult::kServerUnavailable));
  }
  ever_bound_ = true;
  ObjectRef application;
  if (runtime_.HasClass(excel::kGlobalProgId)) {
    application =
        runtime_.CreateObject(excel::kGlobalProgId)->GetObject(excel::global::kApplication);
  } else {
    try {
      application = runtime_.GetActiveObject(excel::kApplicationProgId);
    } catch (const rt::AutomationError& e) {
      if (e.number() != rt::err::kCannotCreateObject) throw;
      application = runtime_.CreateObject(excel::kApplicationProgId);
    }
  }
  bound_ = MakeLateBoundApplication(std::move(application));
}

void GlobalApplication::BindQuietly() {
  if (bound_) return;
  try {
    Bind();
  } catch (const rt::AutomationError&) {
    // Left unbound: the next call through it binds again and reports the failure.
  }
}

// A call that finds its server gone still fails, and drops the binding, so that the next use
// binds afresh.
template <typename Call>
auto GlobalApplication::Through(Call call) {
  if (!bound_) Bind();
  try {
    return call(*bound_);
  } catch (const rt::AutomationError& e) {
    if (IsServerGone(e.number())) bound_.reset();
    throw;
  }
}

void GlobalApplication::SetVisible(bool visible) {
  Through([&](platform::ExcelApplication& a) { a.SetVisible(visible); });
}
void GlobalApplication::SetDisplayAlerts(bool display) {
  Through([&](platform::ExcelApplication& a) { a.SetDisplayAlerts(display); });
}
std::unique_ptr<platform::ExcelWorkbook> GlobalApplication::OpenWorkbook(const std::wstring& path) {
  return Through([&](platform::ExcelApplication& a) { return a.OpenWorkbook(path); });
}
std::unique_ptr<platform::ExcelWorkbook> GlobalApplication::AddWorkbook() {
  return Through([&](platform::ExcelApplication& a) { return a.AddWorkbook(); });
}
void GlobalApplication::Quit() {
  Through([&](platform::ExcelApplication& a) { a.Quit(); });
}
platform::WindowHandle GlobalApplication::Hwnd() {
  return Through([&](platform::ExcelApplication& a) { return a.Hwnd(); });
}
std::vector<int> GlobalApplication::ClipboardFormats() {
  return Through([&](platform::ExcelApplication& a) { return a.ClipboardFormats(); });
}
std::unique_ptr<platform::ExcelSheet> GlobalApplication::ActiveSheet() {
  return Through([&](platform::ExcelApplication& a) { return a.ActiveSheet(); });
}
double GlobalApplication::GetActiveCell(platform::ActiveCellProperty property) {
  return Through([&](platform::ExcelApplication& a) { return a.GetActiveCell(property); });
}
void GlobalApplication::SelectOffset(std::int16_t rows, const rt::Value& columns) {
  Through([&](platform::ExcelApplication& a) { a.SelectOffset(rows, columns); });
}
std::unique_ptr<platform::ExcelRange> GlobalApplication::RangeSelection() {
  return Through([&](platform::ExcelApplication& a) { return a.RangeSelection(); });
}

}  // namespace harumado::automation
