#include "win32/automation_unavailable_win32.h"

#include "core/runtime/automation_error.h"

namespace harumado::win32 {

std::unique_ptr<platform::ExcelApplication> UnavailableSpreadsheetHost::GetActiveObject() {
  throw rt::AutomationError(rt::err::kCannotCreateObject, L"Excel.Application");
}

std::unique_ptr<platform::ExcelApplication> UnavailableSpreadsheetHost::CreateObject() {
  throw rt::AutomationError(rt::err::kCannotCreateObject, L"Excel.Application");
}

platform::ExcelApplication& UnavailableSpreadsheetHost::GlobalApplication() {
  throw rt::AutomationError(rt::err::kCannotCreateObject, L"Excel.Application");
}

// The busy policy is the client's own setting; with no server there is nothing to apply it to.
void UnavailableSpreadsheetHost::SetBusyPolicy(int) {}

std::unique_ptr<platform::Voice> UnavailableVoiceFactory::CreateVoice() {
  throw rt::AutomationError(rt::err::kCannotCreateObject, L"SAPI.SpVoice");
}

}  // namespace harumado::win32
