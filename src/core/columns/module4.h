#pragma once
// Column fitting of columns A to E of the active sheet.
namespace harumado::app {
class Program;
}

namespace harumado::columns {

void AutoFitColumns(app::Program& program);

}  // namespace harumado::columns
