#pragma once
// Excel as the paste steps reach it: through the application of Excel's Global object.
#include <memory>

#include "platform/spreadsheet_host.h"

namespace harumado::app {
class Program;
}

namespace harumado::paste {

platform::ExcelApplication& GlobalExcel(app::Program& program);
// The active sheet; error 91 when Excel has none.
std::unique_ptr<platform::ExcelSheet> ActiveSheetOf(app::Program& program);

}  // namespace harumado::paste
