#include "sim/excel/shapes.h"

namespace harumado::sim {

void AnchorShape(SimShape& shape, const SheetAxis& columns, const SheetAxis& rows) {
  shape.first_column = columns.Locate(shape.left);
  shape.first_row = rows.Locate(shape.top);
  shape.last_column = columns.Locate(shape.left + shape.width);
  shape.last_row = rows.Locate(shape.top + shape.height);
}

void FollowCells(SimShape& shape, const SheetAxis& columns, const SheetAxis& rows) {
  if (shape.placement == platform::placement::kMoveAndSize) {
    shape.left = columns.Position(shape.first_column);
    shape.top = rows.Position(shape.first_row);
    shape.width = columns.Position(shape.last_column) - shape.left;
    shape.height = rows.Position(shape.last_row) - shape.top;
  } else if (shape.placement == platform::placement::kMove) {
    shape.left = columns.Position(shape.first_column);
    shape.top = rows.Position(shape.first_row);
  }
  AnchorShape(shape, columns, rows);
}

}  // namespace harumado::sim
