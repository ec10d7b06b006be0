#include "sim/excel/sim_excel.h"

#include "core/runtime/automation_error.h"

namespace harumado::sim {

std::unique_ptr<platform::ExcelApplication> SimExcel::GetActiveObject() {
  throw rt::AutomationError(rt::err::kCannotCreateObject);
}

std::unique_ptr<platform::ExcelApplication> SimExcel::CreateObject() {
  throw rt::AutomationError(rt::err::kCannotCreateObject);
}

platform::ExcelApplication& SimExcel::GlobalApplication() {
  throw rt::AutomationError(rt::err::kCannotCreateObject);
}

}  // namespace harumado::sim
