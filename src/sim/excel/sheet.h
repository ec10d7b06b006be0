#pragma once
// A worksheet of the simulated spreadsheet application: cells, selection, column widths and
// row heights, shapes, protection. Writes to a protected sheet and positions outside it fail
// with rt::AutomationError 1004.
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "platform/spreadsheet_host.h"
#include "runtime/value.h"
#include "sim/excel/shapes.h"
#include "sim/excel/sheet_axis.h"

namespace harumado::sim {

struct CellRef {
  std::int32_t row = 1;
  std::int32_t column = 1;
  bool operator==(const CellRef&) const = default;
};

struct CellBlock {
  CellRef first;  // top-left
  CellRef last;   // bottom-right
  bool operator==(const CellBlock&) const = default;
};

class SimSheet {
 public:
  static constexpr std::int32_t kRows = 1048576;
  static constexpr std::int32_t kColumns = 16384;
  static constexpr double kStandardWidth = 8.38;    // characters
  static constexpr double kStandardHeight = 18.75;  // points
  static constexpr double kMaxColumnWidth = 255;
  static constexpr double kMaxRowHeight = 409.5;

  SimSheet();

  static bool Contains(std::int64_t row, std::int64_t column);

  // Cells. A formula cell's value is the result given with its formula.
  rt::Value Value(CellRef cell) const;
  std::wstring Formula(CellRef cell) const;  // the formula, or the text form of a constant
  std::wstring Format(CellRef cell) const;   // local number format code
  std::wstring Text(CellRef cell) const;     // as displayed in its column
  rt::Value Get(CellRef cell, platform::CellProperty property) const;
  void Set(CellRef cell, platform::CellProperty property, const rt::Value& value);
  // A block of one column written in one call, all or nothing: each value is taken as Set takes
  // it, from first_row down; the block must lie inside the sheet.
  void SetColumn(std::int32_t column, std::int32_t first_row, platform::CellProperty property,
                 std::span<const rt::Value> values);
  // Range(...).Value = "" on rows first_row .. last_row of the column: all of them become empty.
  void EmptyColumn(std::int32_t column, std::int32_t first_row, std::int32_t last_row);
  // Typed input (as the user types it into the cell).
  void Enter(CellRef cell, const std::wstring& entry);
  // A formula entered with the result it has.
  void EnterFormula(CellRef cell, const std::wstring& formula, const rt::Value& result);
  void SetFormat(CellRef cell, const std::wstring& code);
  bool IsBlank(CellRef cell) const;

  // Selection: the selected block and the active cell within it.
  CellRef active() const { return active_; }
  const CellBlock& selection() const { return selection_; }
  void Select(CellRef cell);
  void SelectBlock(const CellBlock& block);  // the top-left cell becomes active
  // The cell rows down and columns right of the active cell.
  CellRef Offset(std::int64_t rows, std::int64_t columns) const;

  // Geometry, in characters for column widths and points for the rest.
  double ColumnWidth(std::int32_t column) const;
  void SetColumnWidth(std::int32_t column, double characters);
  double RowHeight(std::int32_t row) const;
  void SetRowHeight(std::int32_t row, double points);
  double CellLeft(std::int32_t column) const { return columns_.Start(column); }
  double CellTop(std::int32_t row) const { return rows_.Start(row); }
  double CellWidth(std::int32_t column) const { return columns_.Size(column); }
  double CellHeight(std::int32_t row) const { return rows_.Size(row); }
  double ActiveCellProperty(platform::ActiveCellProperty property) const;
  // The column's width in points for a width in characters: round(8w + 5) px at 0.75 pt.
  static double ColumnPoints(double characters);

  // Columns(column).AutoFit: the width of the longest displayed text in characters.
  void AutoFit(std::int32_t column);
  // Cells(row, column).End(xlUp).Row.
  std::int32_t EndUp(CellRef from) const;

  // ActiveSheet.Paste of clipboard text: the block starting at the active cell.
  void PasteText(const std::wstring& text);
  // A picture of the given size in points, at the active cell's top-left.
  void PastePicture(double width, double height);

  const std::vector<SimShape>& shapes() const { return shapes_; }
  // Shapes(index).property = value, index 1-based.
  void SetShapeProperty(int index, platform::ShapeProperty property, double value);

  bool is_protected() const { return protected_; }
  void Protect() { protected_ = true; }

 private:
  struct Cell {
    rt::Value value;
    std::wstring formula;  // empty for a constant
    std::wstring format;
  };
  using Key = std::pair<std::int32_t, std::int32_t>;  // column, row: a column's cells in order
  static Key KeyOf(CellRef cell) { return {cell.column, cell.row}; }
  static void RequireInside(CellRef cell);
  void RequireWritable() const;
  Cell& At(CellRef cell);
  const Cell* Find(CellRef cell) const;
  void Tidy(CellRef cell);  // drops a cell that holds nothing but the defaults
  void WriteEntry(CellRef cell, const std::wstring& entry);
  void WriteFormula(CellRef cell, const std::wstring& formula);
  void WriteValue(CellRef cell, const rt::Value& value);
  void CellsMoved();  // shapes follow their cells

  std::map<Key, Cell> cells_;
  // The result of each formula entered into a cell, kept so that writing the same formula back
  // gives it again.
  std::map<Key, std::pair<std::wstring, rt::Value>> formula_results_;
  std::map<std::int32_t, double> column_widths_;  // characters, where not standard
  SheetAxis columns_;
  SheetAxis rows_;
  CellRef active_;
  CellBlock selection_;
  std::vector<SimShape> shapes_;
  bool protected_ = false;
};

}  // namespace harumado::sim
