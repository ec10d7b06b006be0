#include "sim/automation/loopback_runtime.h"

#include "automation/excel_members.h"
#include "automation/model/model.h"
#include "core/runtime/automation_error.h"
#include "sim/excel/adapters.h"

namespace harumado::sim {
namespace {

using automation::excel::kApplicationProgId;
using automation::excel::kGlobalProgId;

[[noreturn]] void UnknownClass() { throw rt::AutomationError(rt::err::kCannotCreateObject); }

}  // namespace

automation::ObjectRef LoopbackRuntime::GetActiveObject(std::wstring_view prog_id) {
  if (prog_id != kApplicationProgId) UnknownClass();
  return automation::model::ConnectInProcess(
      automation::model::ServeApplication(excel_.GetActiveObject()), wire_);
}

// The Global class reaches the instance the simulated Global object would bind to; its
// application is not one of the objects the program holds itself.
automation::ObjectRef LoopbackRuntime::CreateObject(std::wstring_view prog_id) {
  if (prog_id == kApplicationProgId) {
    return automation::model::ConnectInProcess(
        automation::model::ServeApplication(excel_.CreateObject()), wire_);
  }
  if (prog_id == kGlobalProgId && global_class) {
    std::shared_ptr<platform::ExcelApplication> application =
        MakeApplicationObject(excel_, excel_.ResolveGlobal(), false);
    return automation::model::ConnectInProcess(
        automation::model::ServeGlobal(std::move(application)), wire_);
  }
  UnknownClass();
}

bool LoopbackRuntime::HasClass(std::wstring_view prog_id) {
  return prog_id == kApplicationProgId || (prog_id == kGlobalProgId && global_class);
}

bool LoopbackRuntime::IsRunning(std::wstring_view prog_id) {
  return prog_id == kApplicationProgId && excel_.FirstVisibleInstance() != nullptr;
}

}  // namespace harumado::sim
