#include "core/paste/excel_access.h"

#include "core/app/program.h"
#include "runtime/automation_error.h"

namespace harumado::paste {

platform::ExcelApplication& GlobalExcel(app::Program& program) {
  return program.os.host.GlobalApplication();
}

// Unqualified ActiveSheet on an Excel without a workbook is Nothing; using it is error 91.
std::unique_ptr<platform::ExcelSheet> ActiveSheetOf(app::Program& program) {
  auto sheet = GlobalExcel(program).ActiveSheet();
  if (!sheet) throw rt::AutomationError(rt::err::kObjectNotSet);
  return sheet;
}

}  // namespace harumado::paste
