#include "core/columns/saved_content.h"

#include "runtime/conversions.h"
#include "runtime/number_format.h"

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

// A formula goes back as a formula. Numbers, logicals and dates are written as values, so nothing
// is lost to the 15 digits of their text form. A text goes back through Formula, as the host
// takes it from the user; the host reads most texts back as the same text (under the text format
// "@" every text), but "2026/1/1" would come back as a date, "TRUE" as a logical, "-5" as a
// number: such a text is repaired afterwards. A text that starts with "=" would become a formula:
// its cell stays empty in the block write, and the repair writes the text.
GiveBackWrite GiveBackFor(const SavedContent& saved) {
  using platform::CellProperty;
  switch (saved.kind) {
    case SavedContent::Kind::kFormula:
      return {CellProperty::kFormula, rt::Value::Text(saved.formula)};
    case SavedContent::Kind::kConstant:
      return {CellProperty::kValue, saved.value};
    case SavedContent::Kind::kText:
      break;
  }
  const std::wstring& text = saved.value.text();
  if (!text.empty() && text[0] == L'=') return {CellProperty::kFormula, rt::Value::Text(L"")};
  return {CellProperty::kFormula, saved.value};
}

bool KeptAsText(const rt::Value& got, const SavedContent& saved) {
  return got.is_text() && got.text() == saved.value.text();
}

// Under the text format "@" the host takes every entry as text, so the text goes in under that
// format and the cell's own format is put back afterwards: a cell keeps its content when only
// its format changes.
void PutText(platform::ExcelSheet& sheet, std::int32_t row, std::int32_t column,
             const SavedContent& saved) {
  using platform::CellProperty;
  sheet.SetCell(row, column, CellProperty::kNumberFormatLocal,
                rt::Value::Text(std::wstring(rt::kTextFormat)));
  sheet.SetCell(row, column, CellProperty::kValue, saved.value);
  sheet.SetCell(row, column, CellProperty::kNumberFormatLocal, rt::Value::Text(saved.format));
}

}  // namespace harumado::columns
