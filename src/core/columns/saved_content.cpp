#include "core/columns/saved_content.h"

#include "core/runtime/conversions.h"
#include "core/runtime/number_format.h"
#include "platform/spreadsheet_host.h"

namespace harumado::columns {
namespace {

std::wstring AsText(const rt::Value& v) { return v.is_text() ? v.text() : rt::TextForm(v); }

}  // namespace

// The Formula of a constant is its text form, so a text constant is a text whose Formula is that
// same text; a Formula that starts with "=" and differs from the value is a formula.
SavedContent SaveContent(const rt::Value& value, const rt::Value& formula,
                         const rt::Value& format) {
  SavedContent saved;
  saved.format = AsText(format);
  const std::wstring formula_text = AsText(formula);
  if (value.is_text() && formula_text == value.text()) {
    saved.kind = SavedContent::Kind::kText;
    saved.value = value;
  } else if (!formula_text.empty() && formula_text[0] == L'=') {
    saved.kind = SavedContent::Kind::kFormula;
    saved.formula = formula_text;
  } else {
    saved.kind = SavedContent::Kind::kConstant;
    saved.value = value;
  }
  return saved;
}

// Writing a text back through Formula (or Value) lets the host read it again: "001" would come
// back as 1, "2026/1/1" as a date, "TRUE" as a logical. Under the text format "@" the host takes
// every entry as text, so the text goes in under that format and the cell's own format is put
// back afterwards; a cell keeps its content when only its format changes. Numbers, logicals and
// dates are written as values, so nothing is lost to the 15 digits of their text form.
void GiveBack(platform::ExcelSheet& sheet, std::int32_t row, std::int32_t column,
              const SavedContent& saved) {
  using platform::CellProperty;
  switch (saved.kind) {
    case SavedContent::Kind::kFormula:
      sheet.SetCell(row, column, CellProperty::kFormula, rt::Value::Text(saved.formula));
      return;
    case SavedContent::Kind::kConstant:
      sheet.SetCell(row, column, CellProperty::kValue, saved.value);
      return;
    case SavedContent::Kind::kText:
      if (saved.format == rt::kTextFormat) {
        sheet.SetCell(row, column, CellProperty::kValue, saved.value);
        return;
      }
      sheet.SetCell(row, column, CellProperty::kNumberFormatLocal,
                    rt::Value::Text(std::wstring(rt::kTextFormat)));
      sheet.SetCell(row, column, CellProperty::kValue, saved.value);
      sheet.SetCell(row, column, CellProperty::kNumberFormatLocal, rt::Value::Text(saved.format));
      return;
  }
}

}  // namespace harumado::columns
