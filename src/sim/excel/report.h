#pragma once
// What the simulated spreadsheet application holds, as text for the tests of a real program:
// its instances and workbooks, and of each instance's active sheet the active cell, the
// selection, the cells with their values, formats and shown texts, the pictures (shapes) and the
// column widths, one fact a line.
#include <string>

#include "sim/excel/sim_excel.h"

namespace harumado::sim {

class SimSheet;

// The area of the sheet that the report covers.
inline constexpr std::int32_t kReportRows = 60;
inline constexpr std::int32_t kReportColumns = 12;

// Lines, each ending in "\n":
//   instance N visible 0|1
//   workbook NAME|PATH
//   active A1 / selection A1:B2
//   cell A1 number 12|FORMAT|SHOWN TEXT   (or: text T, logical True, date D, error E)
//   shape N LEFT TOP WIDTH HEIGHT PLACEMENT LOCK-ASPECT-RATIO   (points)
//   width B 12.5   (columns not at the standard width)
std::wstring DescribeWorkbooks(const SimExcel& excel);

// The lines of one sheet: active, selection, cell, shape and width lines as above.
std::wstring DescribeSheet(const SimSheet& sheet);

// "A", "B", ... "AA" for a column number (1-based).
std::wstring ColumnLetters(std::int32_t column);

}  // namespace harumado::sim
