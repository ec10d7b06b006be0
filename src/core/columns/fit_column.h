#pragma once
// Fitting one column of the active sheet to its numeric contents.
#include <cstdint>

namespace harumado::platform {
class ExcelSheet;
}

namespace harumado::columns {

// The first and last column that the column-fit button fits (A to E).
inline constexpr std::int32_t kFirstFittedColumn = 1;
inline constexpr std::int32_t kLastFittedColumn = 5;

// Fits the column; row_count is the sheet's number of rows. Throws rt::AutomationError when a
// host call fails, after every cell it emptied has its content back.
void FitColumn(platform::ExcelSheet& sheet, std::int32_t column, std::int32_t row_count);

}  // namespace harumado::columns
