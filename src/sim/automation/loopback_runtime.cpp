#include "sim/automation/loopback_runtime.h"

#include "automation/excel_members.h"
#include "automation/model/model.h"
#include "runtime/automation_error.h"

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

// The Global class serves the simulated Global object itself, so that it binds, and binds
// again, as the simulation has it; it is not one of the objects the program holds itself.
automation::ObjectRef LoopbackRuntime::CreateObject(std::wstring_view prog_id) {
  if (prog_id == kApplicationProgId) {
    return automation::model::ConnectInProcess(
        automation::model::ServeApplication(excel_.CreateObject()), wire_);
  }
  if (prog_id == kGlobalProgId && global_class) {
    std::shared_ptr<platform::ExcelApplication> application(&excel_.GlobalApplication(),
                                                            [](platform::ExcelApplication*) {});
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
