#pragma once
// Shapes (pasted pictures) on a worksheet and how they follow the cells under them.
#include "platform/spreadsheet_host.h"
#include "sim/excel/sheet_axis.h"

namespace harumado::sim {

struct SimShape {
  double left = 0;  // points
  double top = 0;
  double width = 0;
  double height = 0;
  int placement = platform::placement::kMove;
  int lock_aspect_ratio = platform::mso::kTrue;
  // The cells under the top-left and bottom-right corners.
  SheetAxis::Place first_column, first_row, last_column, last_row;
};

// Records the cells under the shape's corners as it stands now.
void AnchorShape(SimShape& shape, const SheetAxis& columns, const SheetAxis& rows);
// After a column width or row height changed: a shape with placement 1 moves and resizes with
// its cells, one with placement 2 moves with its top-left cell, one with placement 3 stays.
void FollowCells(SimShape& shape, const SheetAxis& columns, const SheetAxis& rows);

}  // namespace harumado::sim
