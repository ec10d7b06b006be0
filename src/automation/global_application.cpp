#include "automation/global_application.h"

#include "automation/excel_members.h"
#include "automation/late_bound_objects.h"
#include "runtime/automation_error.h"

namespace harumado::automation {

// The first binding goes through Excel's Global class, which starts a hidden Excel when none
// runs; where that class is not registered, the running instance is taken, or a new one is
// started. Once a binding was tried, binding again only ever reaches a running Excel: with none
// running the call fails as a call to a gone server does.
std::unique_ptr<platform::ExcelApplication> GlobalApplication::Reach() {
  if (ever_bound_ && !runtime_.IsRunning(excel::kApplicationProgId)) {
    throw rt::AutomationError(rt::err::kServerUnavailable);
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
  return MakeLateBoundApplication(std::move(application));
}

}  // namespace harumado::automation
