// The cursor step after every paste: the active cell moves one cell right; after WrapCount cells
// it goes back to the first column of the row run and one row down, like a line break.
//
// Runs outside skip mode: an Offset outside the sheet, or an Excel that does not answer, ends
// the paste loop with its error, and the steps after the failing one do not run.
#include <cstdint>
#include <string>

#include "core/app/form1.h"
#include "core/app/program.h"
#include "core/paste/excel_access.h"
#include "core/paste/module1.h"
#include "runtime/value.h"

namespace harumado::paste {

void AdvanceCursor(app::Program& program, std::int32_t& RowCellCount) {
  const std::int32_t WrapCount = program.form1().state.WrapCount;
  auto select = [&](std::int16_t rows, rt::Value columns) {
    GlobalExcel(program).SelectOffset(rows, columns);
  };
  auto number = [](double d) { return rt::Value::Number(d); };

  // After a paste the selection is the pasted block or picture; from here on it is one cell.
  select(0, number(0));
  if (RowCellCount < WrapCount) select(0, number(1));
  RowCellCount = RowCellCount + 1;
  if (RowCellCount == WrapCount) {
    // Back to the column where the row run began: the offset goes as the text "-" & WrapCount,
    // which Excel reads as the negative number.
    select(0, rt::Value::Text(L"-" + std::to_wstring(WrapCount)));
    RowCellCount = 0;
    select(1, number(0));
  }
  // A picture paste that failed takes back the row move, so that with a count of 1 the next copy
  // is pasted where this one was tried.
  if (program.paste.PictureFailed == 1) {
    select(-1, number(0));
    program.paste.PictureFailed = 0;
  }
}

}  // namespace harumado::paste
