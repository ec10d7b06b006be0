#pragma once
// Column widths as Excel measures them: in characters of the standard font, shown on screen as
// whole pixels of 0.75 point.
namespace harumado::rt {

// The column's width in points for a width in characters: round(8w + 5) px at 0.75 pt; a
// width of 0 or less hides the column.
double ColumnPoints(double characters);

// The width in characters of a column that is the given number of points wide: the inverse of
// ColumnPoints on its whole pixels, to two decimals as Excel reports ColumnWidth.
double ColumnCharacters(double points);

}  // namespace harumado::rt
