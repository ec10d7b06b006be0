#include "core/columns/fit_column.h"

#include <algorithm>
#include <string>
#include <vector>

#include "core/columns/emptied_cells.h"
#include "core/columns/numeric_text.h"
#include "core/columns/saved_content.h"
#include "platform/spreadsheet_host.h"
#include "runtime/automation_error.h"
#include "runtime/conversions.h"
#include "runtime/number_format.h"

namespace harumado::columns {
namespace {

using platform::CellProperty;

// The text of a cell value as the numeric test sees it. An error value has no text form; its
// display (#DIV/0!, #N/A) is never numeric, so such a cell is emptied and given back like text.
std::wstring CellText(const rt::Value& v) {
  if (v.is_error()) return rt::ErrorValueText(v.error_code());
  return rt::TextForm(v);
}

std::wstring FormatCode(const rt::Value& v) { return v.is_text() ? v.text() : rt::TextForm(v); }

// One bulk read of rows 1 .. last_row; a reply of the wrong length counts as a failed call.
std::vector<rt::Value> ReadColumn(platform::ExcelSheet& sheet, std::int32_t column,
                                  std::int32_t last_row, CellProperty property) {
  std::vector<rt::Value> cells = sheet.GetColumnCells(column, 1, last_row, property);
  if (cells.size() != static_cast<std::size_t>(last_row)) {
    throw rt::AutomationError(rt::err::kApplicationDefined);
  }
  return cells;
}

}  // namespace

// Text cells must not widen the column: while the host fits it, every cell that holds
// non-numeric text is empty, and it gets its content back right afterwards. Before the host fits
// the column it gets the width of the longest formatted numeric cell plus four characters. A
// column without numeric content (only text, only empty cells, only empty texts) is left as it
// is.
//
// The column's values, number formats and formulas are each read in one call over the used rows
// instead of cell by cell, and the text cells are emptied and given back a run of neighbouring
// cells at a time: a column costs a few calls plus two per run of texts (and a few for each text
// that the host would read as another type). Formats are read only when a numeric cell needs one,
// formulas only when a cell is emptied.
void FitColumn(platform::ExcelSheet& sheet, std::int32_t column, std::int32_t row_count) {
  const std::int32_t last_row = sheet.EndUpRow(row_count, column);
  const std::vector<rt::Value> values = ReadColumn(sheet, column, last_row, CellProperty::kValue);

  std::vector<std::wstring> texts(values.size());
  std::vector<std::size_t> numeric_rows;
  std::vector<std::size_t> text_rows;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (values[i].is_empty()) continue;
    texts[i] = CellText(values[i]);
    (IsNumericText(texts[i]) ? numeric_rows : text_rows).push_back(i);
  }
  // Empty texts are numeric but never longer than 0 under any format.
  const bool any_length = std::any_of(numeric_rows.begin(), numeric_rows.end(),
                                      [&](std::size_t i) { return !texts[i].empty(); });
  if (!any_length) return;

  const std::vector<rt::Value> formats =
      ReadColumn(sheet, column, last_row, CellProperty::kNumberFormatLocal);
  std::size_t longest = 0;
  for (std::size_t i : numeric_rows) {
    longest = std::max(longest, FormattedLength(values[i], texts[i], FormatCode(formats[i])));
  }
  if (longest == 0) return;

  EmptiedCells emptied(sheet, column);
  if (!text_rows.empty()) {
    const std::vector<rt::Value> formulas =
        ReadColumn(sheet, column, last_row, CellProperty::kFormula);
    // Each run of text cells next to each other is emptied with one call.
    for (std::size_t begin = 0; begin < text_rows.size();) {
      std::vector<SavedContent> run;
      std::size_t end = begin;
      do {
        const std::size_t i = text_rows[end];
        run.push_back(SaveContent(values[i], formulas[i], formats[i]));
        ++end;
      } while (end < text_rows.size() && text_rows[end] == text_rows[end - 1] + 1);
      emptied.EmptyRun(static_cast<std::int32_t>(text_rows[begin]) + 1, std::move(run));
      begin = end;
    }
  }
  sheet.SetColumnWidth(column, static_cast<double>(longest) + 4);
  sheet.AutoFitColumn(column);
  emptied.GiveBackAll();
}

}  // namespace harumado::columns
