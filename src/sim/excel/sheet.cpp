#include "sim/excel/sheet.h"

#include <algorithm>
#include <cmath>

#include "runtime/automation_error.h"
#include "runtime/column_width.h"
#include "runtime/conversions.h"
#include "runtime/number_format.h"
#include "runtime/paste_block.h"
#include "runtime/typed_input.h"

namespace harumado::sim {
namespace {

// A display measured without the column's '#' fill.
constexpr double kUnlimitedWidth = 1e9;
constexpr std::size_t kMaxFormatLength = 255;

[[noreturn]] void Refuse() { throw rt::AutomationError(rt::err::kApplicationDefined); }

std::wstring ConstantText(const rt::Value& v) {
  if (v.is_error()) return rt::ErrorValueText(v.error_code());
  return rt::TextForm(v);
}

}  // namespace

SimSheet::SimSheet()
    : columns_(kColumns, ColumnPoints(kStandardWidth)), rows_(kRows, kStandardHeight) {}

bool SimSheet::Contains(std::int64_t row, std::int64_t column) {
  return row >= 1 && row <= kRows && column >= 1 && column <= kColumns;
}

void SimSheet::RequireInside(CellRef cell) {
  if (!Contains(cell.row, cell.column)) Refuse();
}

void SimSheet::RequireWritable() const {
  if (protected_) Refuse();
}

SimSheet::Cell& SimSheet::At(CellRef cell) {
  auto [it, added] = cells_.try_emplace(KeyOf(cell));
  if (added) it->second.format = std::wstring(rt::kGeneralFormat);
  return it->second;
}

const SimSheet::Cell* SimSheet::Find(CellRef cell) const {
  auto it = cells_.find(KeyOf(cell));
  return it == cells_.end() ? nullptr : &it->second;
}

void SimSheet::Tidy(CellRef cell) {
  auto it = cells_.find(KeyOf(cell));
  if (it != cells_.end() && it->second.value.is_empty() && it->second.formula.empty() &&
      it->second.format == rt::kGeneralFormat) {
    cells_.erase(it);
  }
}

// ---- cells -----------------------------------------------------------------------------------

rt::Value SimSheet::Value(CellRef cell) const {
  const Cell* c = Find(cell);
  return c ? c->value : rt::Value();
}

std::wstring SimSheet::Formula(CellRef cell) const {
  const Cell* c = Find(cell);
  if (c == nullptr) return {};
  return c->formula.empty() ? ConstantText(c->value) : c->formula;
}

std::wstring SimSheet::Format(CellRef cell) const {
  const Cell* c = Find(cell);
  return c ? c->format : std::wstring(rt::kGeneralFormat);
}

std::wstring SimSheet::Text(CellRef cell) const {
  const Cell* c = Find(cell);
  if (c == nullptr) return {};
  return rt::DisplayText(c->value, c->format, ColumnWidth(cell.column));
}

bool SimSheet::IsBlank(CellRef cell) const {
  const Cell* c = Find(cell);
  return c == nullptr || (c->value.is_empty() && c->formula.empty());
}

rt::Value SimSheet::Get(CellRef cell, platform::CellProperty property) const {
  RequireInside(cell);
  switch (property) {
    case platform::CellProperty::kValue:
      return Value(cell);
    case platform::CellProperty::kText:
      return rt::Value::Text(Text(cell));
    case platform::CellProperty::kNumberFormatLocal:
      return rt::Value::Text(Format(cell));
    case platform::CellProperty::kFormula:
      return rt::Value::Text(Formula(cell));
  }
  Refuse();
}

// Value takes a text as typed input (a text starting with "=" as a formula); Formula takes a
// text that is no formula as typed input too; Text cannot be written.
void SimSheet::Set(CellRef cell, platform::CellProperty property, const rt::Value& value) {
  RequireInside(cell);
  RequireWritable();
  switch (property) {
    case platform::CellProperty::kValue:
      if (value.is_text()) {
        if (!value.text().empty() && value.text()[0] == L'=') {
          WriteFormula(cell, value.text());
        } else {
          WriteEntry(cell, value.text());
        }
      } else {
        WriteValue(cell, value);
      }
      return;
    case platform::CellProperty::kText:
      Refuse();
    case platform::CellProperty::kNumberFormatLocal:
      SetFormat(cell, value.is_text() ? value.text() : ConstantText(value));
      return;
    case platform::CellProperty::kFormula:
      WriteFormula(cell, value.is_text() ? value.text() : ConstantText(value));
      return;
  }
}

// Everything that could refuse the write is checked before the first cell changes.
void SimSheet::SetColumn(std::int32_t column, std::int32_t first_row,
                         platform::CellProperty property, std::span<const rt::Value> values) {
  if (values.empty()) Refuse();
  const std::int64_t last_row = first_row + static_cast<std::int64_t>(values.size()) - 1;
  if (!Contains(first_row, column) || !Contains(last_row, column)) Refuse();
  RequireWritable();
  if (property == platform::CellProperty::kText) Refuse();
  if (property == platform::CellProperty::kNumberFormatLocal) {
    for (const rt::Value& v : values) {
      if (!rt::IsValidFormatCode(v.is_text() ? v.text() : ConstantText(v))) Refuse();
    }
  }
  for (std::size_t i = 0; i < values.size(); ++i) {
    Set(CellRef{first_row + static_cast<std::int32_t>(i), column}, property, values[i]);
  }
}

void SimSheet::EmptyColumn(std::int32_t column, std::int32_t first_row, std::int32_t last_row) {
  if (first_row > last_row || !Contains(first_row, column) || !Contains(last_row, column)) {
    Refuse();
  }
  RequireWritable();
  for (std::int32_t row = first_row; row <= last_row; ++row) {
    WriteEntry(CellRef{row, column}, L"");
  }
}

void SimSheet::Enter(CellRef cell, const std::wstring& entry) {
  RequireInside(cell);
  RequireWritable();
  WriteEntry(cell, entry);
}

void SimSheet::EnterFormula(CellRef cell, const std::wstring& formula, const rt::Value& result) {
  RequireInside(cell);
  RequireWritable();
  Cell& c = At(cell);
  c.formula = formula;
  c.value = result;
  formula_results_[KeyOf(cell)] = {formula, result};
}

void SimSheet::SetFormat(CellRef cell, const std::wstring& code) {
  RequireInside(cell);
  RequireWritable();
  // Excel takes number-format codes of up to 255 characters; a longer one is refused as an
  // invalid code is.
  if (code.size() > kMaxFormatLength || !rt::IsValidFormatCode(code)) Refuse();
  At(cell).format = code;
  Tidy(cell);
}

void SimSheet::WriteEntry(CellRef cell, const std::wstring& entry) {
  rt::TypedInput in = rt::ReadTypedInput(entry, Format(cell));
  Cell& c = At(cell);
  c.value = std::move(in.value);
  c.formula.clear();
  if (in.format) c.format = *in.format;
  Tidy(cell);
}

// Formulas are not computed: a formula gets the result that was given with it when it was
// entered into this cell, and an empty result when it never was.
void SimSheet::WriteFormula(CellRef cell, const std::wstring& formula) {
  if (formula.empty() || formula[0] != L'=' || Format(cell) == rt::kTextFormat) {
    WriteEntry(cell, formula);
    return;
  }
  Cell& c = At(cell);
  c.formula = formula;
  auto known = formula_results_.find(KeyOf(cell));
  c.value = known != formula_results_.end() && known->second.first == formula ? known->second.second
                                                                              : rt::Value();
}

// A date written into a General cell gives it the short date format.
void SimSheet::WriteValue(CellRef cell, const rt::Value& value) {
  Cell& c = At(cell);
  c.value = value;
  c.formula.clear();
  if (value.is_date() && c.format == rt::kGeneralFormat) c.format = L"yyyy/m/d";
  Tidy(cell);
}

// ---- selection -------------------------------------------------------------------------------

void SimSheet::Select(CellRef cell) {
  RequireInside(cell);
  active_ = cell;
  selection_ = CellBlock{cell, cell};
}

void SimSheet::SelectBlock(const CellBlock& block) {
  RequireInside(block.first);
  RequireInside(block.last);
  selection_ = block;
  active_ = block.first;
}

CellRef SimSheet::Offset(std::int64_t rows, std::int64_t columns) const {
  const std::int64_t row = active_.row + rows;
  const std::int64_t column = active_.column + columns;
  if (!Contains(row, column)) Refuse();
  return CellRef{static_cast<std::int32_t>(row), static_cast<std::int32_t>(column)};
}

// ---- geometry --------------------------------------------------------------------------------

double SimSheet::ColumnPoints(double characters) { return rt::ColumnPoints(characters); }

double SimSheet::ColumnWidth(std::int32_t column) const {
  auto it = column_widths_.find(column);
  return it == column_widths_.end() ? kStandardWidth : it->second;
}

void SimSheet::SetColumnWidth(std::int32_t column, double characters) {
  RequireInside(CellRef{1, column});
  RequireWritable();
  if (!(characters >= 0 && characters <= kMaxColumnWidth)) Refuse();
  if (characters == kStandardWidth) {
    column_widths_.erase(column);
  } else {
    column_widths_[column] = characters;
  }
  columns_.SetSize(column, ColumnPoints(characters));
  CellsMoved();
}

double SimSheet::RowHeight(std::int32_t row) const { return rows_.Size(row); }

void SimSheet::SetRowHeight(std::int32_t row, double points) {
  RequireInside(CellRef{row, 1});
  RequireWritable();
  if (!(points >= 0 && points <= kMaxRowHeight)) Refuse();
  rows_.SetSize(row, points);
  CellsMoved();
}

double SimSheet::ActiveCellProperty(platform::ActiveCellProperty property) const {
  switch (property) {
    case platform::ActiveCellProperty::kRow:
      return active_.row;
    case platform::ActiveCellProperty::kColumn:
      return active_.column;
    case platform::ActiveCellProperty::kLeft:
      return CellLeft(active_.column);
    case platform::ActiveCellProperty::kTop:
      return CellTop(active_.row);
    case platform::ActiveCellProperty::kWidth:
      return CellWidth(active_.column);
    case platform::ActiveCellProperty::kHeight:
      return CellHeight(active_.row);
  }
  return 0;
}

void SimSheet::CellsMoved() {
  for (SimShape& s : shapes_) FollowCells(s, columns_, rows_);
}

// The longest display of the column, measured without the '#' fill, in character columns (a
// full-width character counts two); a display that the format cannot give counts as the
// value's text form.
void SimSheet::AutoFit(std::int32_t column) {
  RequireInside(CellRef{1, column});
  RequireWritable();
  std::size_t longest = 0;
  for (auto it = cells_.lower_bound({column, 1}); it != cells_.end() && it->first.first == column;
       ++it) {
    const Cell& c = it->second;
    std::wstring shown;
    try {
      shown = rt::DisplayText(c.value, c.format, kUnlimitedWidth);
    } catch (const rt::AutomationError&) {
      shown = ConstantText(c.value);
    }
    longest = std::max(longest, rt::DisplayWidth(shown));
  }
  const double width =
      longest == 0 ? kStandardWidth : std::min(static_cast<double>(longest), kMaxColumnWidth);
  SetColumnWidth(column, width);
}

// Ctrl+Up: inside a run of filled cells, to the top of the run; otherwise to the next filled
// cell above; row 1 when there is none.
std::int32_t SimSheet::EndUp(CellRef from) const {
  RequireInside(from);
  if (from.row <= 1) return 1;
  const std::int32_t column = from.column;
  auto filled = [&](std::int32_t row) { return !IsBlank(CellRef{row, column}); };
  if (filled(from.row) && filled(from.row - 1)) {
    std::int32_t row = from.row - 1;
    while (row > 1 && filled(row - 1)) --row;
    return row;
  }
  auto it = cells_.lower_bound({column, from.row});
  while (it != cells_.begin()) {
    --it;
    if (it->first.first != column) break;
    if (!it->second.value.is_empty() || !it->second.formula.empty()) return it->first.second;
  }
  return 1;
}

// ---- paste and shapes ------------------------------------------------------------------------

void SimSheet::PasteText(const std::wstring& text) {
  RequireWritable();
  const auto block = rt::SplitPasteBlock(text);
  std::size_t width = 0;
  for (const auto& row : block) width = std::max(width, row.size());
  const CellRef first = active_;
  const CellRef last{static_cast<std::int32_t>(first.row + block.size() - 1),
                     static_cast<std::int32_t>(first.column + width - 1)};
  if (!Contains(last.row, last.column)) Refuse();
  for (std::size_t r = 0; r < block.size(); ++r) {
    for (std::size_t c = 0; c < block[r].size(); ++c) {
      WriteEntry(CellRef{static_cast<std::int32_t>(first.row + r),
                         static_cast<std::int32_t>(first.column + c)},
                 block[r][c]);
    }
  }
  selection_ = CellBlock{first, last};
}

void SimSheet::PastePicture(double width, double height) {
  RequireWritable();
  SimShape shape;
  shape.left = CellLeft(active_.column);
  shape.top = CellTop(active_.row);
  shape.width = width;
  shape.height = height;
  AnchorShape(shape, columns_, rows_);
  shapes_.push_back(shape);
}

// With the aspect ratio locked, setting one side scales the other by the same factor.
void SimSheet::SetShapeProperty(int index, platform::ShapeProperty property, double value) {
  RequireWritable();
  if (index < 1 || index > static_cast<int>(shapes_.size())) {
    // Shapes(n) with n outside the collection: "The index into the specified collection is out
    // of bounds".
    throw rt::AutomationError(rt::err::kInvalidArgument);
  }
  SimShape& s = shapes_[static_cast<std::size_t>(index - 1)];
  const bool locked = s.lock_aspect_ratio != platform::mso::kFalse;
  switch (property) {
    case platform::ShapeProperty::kLockAspectRatio:
      if (value != platform::mso::kTrue && value != platform::mso::kFalse && value != 1) Refuse();
      s.lock_aspect_ratio = static_cast<int>(value);
      return;
    case platform::ShapeProperty::kPlacement:
      if (value != platform::placement::kMoveAndSize && value != platform::placement::kMove &&
          value != platform::placement::kFreeFloating) {
        Refuse();
      }
      s.placement = static_cast<int>(value);
      break;
    case platform::ShapeProperty::kLeft:
      s.left = std::max(0.0, value);
      break;
    case platform::ShapeProperty::kTop:
      s.top = std::max(0.0, value);
      break;
    case platform::ShapeProperty::kWidth:
      if (!(value >= 0)) Refuse();
      if (locked && s.width > 0) s.height *= value / s.width;
      s.width = value;
      break;
    case platform::ShapeProperty::kHeight:
      if (!(value >= 0)) Refuse();
      if (locked && s.height > 0) s.width *= value / s.height;
      s.height = value;
      break;
  }
  AnchorShape(s, columns_, rows_);
}

}  // namespace harumado::sim
