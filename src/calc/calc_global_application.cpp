#include "calc/calc_global_application.h"

#include "calc/calc_host.h"
#include "runtime/automation_error.h"

namespace harumado::calc {

std::unique_ptr<platform::ExcelApplication> CalcGlobalApplication::Reach() {
  if (ever_bound_ && !host_.IsRunning()) throw rt::AutomationError(rt::err::kServerUnavailable);
  ever_bound_ = true;
  return host_.CreateObject();
}

}  // namespace harumado::calc
