#include "automation/late_bound_host.h"

#include "automation/excel_members.h"
#include "automation/global_application.h"
#include "automation/late_bound_objects.h"

namespace harumado::automation {

LateBoundHost::LateBoundHost(AutomationRuntime& runtime)
    : runtime_(runtime), global_(std::make_unique<automation::GlobalApplication>(runtime)) {}

LateBoundHost::~LateBoundHost() = default;

std::unique_ptr<platform::ExcelApplication> LateBoundHost::GetActiveObject() {
  return MakeLateBoundApplication(runtime_.GetActiveObject(excel::kApplicationProgId));
}

std::unique_ptr<platform::ExcelApplication> LateBoundHost::CreateObject() {
  return MakeLateBoundApplication(runtime_.CreateObject(excel::kApplicationProgId));
}

// Reaching the Global object binds it; the binding is kept for the program run.
platform::ExcelApplication& LateBoundHost::GlobalApplication() {
  global_->BindQuietly();
  return *global_;
}

void LateBoundHost::SetBusyPolicy(int timeout_ms) { runtime_.SetBusyTimeout(timeout_ms); }

}  // namespace harumado::automation
