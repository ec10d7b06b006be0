#include "calc/cell_access.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/sheet/FormulaResult.hpp>
#include <com/sun/star/table/CellContentType.hpp>
#include <com/sun/star/text/XText.hpp>

#include "calc/block_entry.h"
#include "calc/calc_document.h"
#include "runtime/column_width.h"
#include "runtime/conversions.h"
#include "runtime/number_format.h"
#include "runtime/typed_input.h"

namespace harumado::calc {
namespace {

using css::table::CellContentType_EMPTY;
using css::table::CellContentType_FORMULA;
using css::table::CellContentType_TEXT;
using css::table::CellContentType_VALUE;

// Calc's error numbers of formula results, as Excel's error values.
rt::Value ErrorValueOf(sal_Int32 calc_error) {
  switch (calc_error) {
    case 532:
      return rt::Value::Error(2007);  // #DIV/0!
    case 525:
      return rt::Value::Error(2029);  // #NAME?
    case 524:
      return rt::Value::Error(2023);  // #REF!
    case 32767:
      return rt::Value::Error(2042);  // #N/A
    default:
      return rt::Value::Error(2015);  // #VALUE!
  }
}

std::wstring StringOf(const Reference<css::table::XCell>& cell) {
  return Uno([&] {
    Reference<css::text::XText> text(cell, css::uno::UNO_QUERY_THROW);
    return FromOU(text->getString());
  });
}

rt::Value NumberValue(double number, std::int32_t key, CellFormats& formats) {
  switch (formats.KindOf(key)) {
    case CellFormats::Kind::kDate:
      return rt::Value::FromDate(number);
    case CellFormats::Kind::kLogical:
      return rt::Value::Logical(number != 0);
    case CellFormats::Kind::kNumber:
      break;
  }
  return rt::Value::Number(number);
}

// What the cell holds as Excel's Value gives it; with its kind, whether Calc shows it as a
// number (which a narrow column fills with '#').
rt::Value ValueOf(const CellRef& ref, CellFormats& formats, bool* shown_as_number) {
  const auto& cell = ref.cell;
  if (shown_as_number) *shown_as_number = false;
  const auto type = Uno([&] { return cell->getType(); });
  if (type == CellContentType_EMPTY) return rt::Value();
  if (type == CellContentType_TEXT) return rt::Value::Text(StringOf(cell));
  if (type == CellContentType_FORMULA) {
    if (const sal_Int32 error = Uno([&] { return cell->getError(); })) return ErrorValueOf(error);
    sal_Int32 result = 0;
    Uno([&] {
      Reference<css::beans::XPropertySet> properties(cell, css::uno::UNO_QUERY_THROW);
      properties->getPropertyValue("FormulaResultType2") >>= result;
    });
    if (result == css::sheet::FormulaResult::STRING) return rt::Value::Text(StringOf(cell));
  }
  if (shown_as_number) *shown_as_number = true;
  const double number = Uno([&] { return cell->getValue(); });
  return NumberValue(number, CellFormats::KeyOfCell(cell), formats);
}

void SetNumber(const CellRef& ref, double number) {
  Uno([&] { ref.cell->setValue(number); });
}

// A value as Excel takes it written into Value: a text is typed input, a date gives a General
// cell the short date format, a logical shows as TRUE or FALSE.
void WriteValue(const CellRef& ref, const rt::Value& value, CellFormats& formats) {
  switch (value.kind()) {
    case rt::Value::Kind::kEmpty:
      Uno([&] { ref.cell->setFormula(""); });
      return;
    case rt::Value::Kind::kNumber:
      SetNumber(ref, value.number());
      return;
    case rt::Value::Kind::kText:
      EnterText(ref, value.text(), formats);
      return;
    case rt::Value::Kind::kLogical:
      SetNumber(ref, value.logical() ? 1 : 0);
      CellFormats::SetKey(ref.cell, formats.LogicalKey());
      return;
    case rt::Value::Kind::kDate:
      SetNumber(ref, value.date_serial());
      if (rt::IsGeneralFormat(formats.LocalCodeOf(CellFormats::KeyOfCell(ref.cell)))) {
        CellFormats::SetKey(ref.cell, formats.KeyOf(L"yyyy/m/d"));
      }
      return;
    case rt::Value::Kind::kError:
      Refuse();
  }
}

void WriteFormula(const CellRef& ref, const std::wstring& formula, CellFormats& formats) {
  const std::int32_t key = CellFormats::KeyOfCell(ref.cell);
  if (formula.empty() || formula[0] != L'=' || formats.LocalCodeOf(key) == rt::kTextFormat) {
    EnterText(ref, formula, formats);
    return;
  }
  Uno([&] { ref.cell->setFormula(ToOU(formula)); });
}

std::wstring FormulaOf(const CellRef& ref, CellFormats& formats) {
  const auto type = Uno([&] { return ref.cell->getType(); });
  if (type == CellContentType_FORMULA) return FromOU(Uno([&] { return ref.cell->getFormula(); }));
  const rt::Value value = ValueOf(ref, formats, nullptr);
  return value.is_error() ? rt::ErrorValueText(value.error_code()) : rt::TextForm(value);
}

}  // namespace

void EnterText(const CellRef& ref, const std::wstring& entry, CellFormats& formats) {
  EnterBlock(ref.sheet, ref.position, FieldBlock{{entry}}, formats);
}

// Text is what the cell shows as Excel shows it: the program's own display rules applied to the
// value, the local code and the column width (Calc's display differs: it drops the trailing
// point of "#,##0.###" on a whole number, and gives its API the whole display where the column
// shows '#'). A code those rules cannot apply (from a file made elsewhere) shows as Calc shows
// it, filled with '#' when too wide.
rt::Value ReadCell(const CellRef& ref, platform::CellProperty property, CellFormats& formats) {
  switch (property) {
    case platform::CellProperty::kValue:
      return ValueOf(ref, formats, nullptr);
    case platform::CellProperty::kText: {
      bool number = false;
      const rt::Value value = ValueOf(ref, formats, &number);
      const std::wstring code = formats.LocalCodeOf(CellFormats::KeyOfCell(ref.cell));
      const double width =
          rt::ColumnCharacters(PointsOf(ColumnWidthOf(ref.sheet, ref.position.column)));
      try {
        return rt::Value::Text(rt::DisplayText(value, code, width));
      } catch (const rt::AutomationError&) {
        const std::wstring shown = StringOf(ref.cell);
        return rt::Value::Text(number ? rt::FitToColumn(shown, width) : shown);
      }
    }
    case platform::CellProperty::kNumberFormatLocal:
      return rt::Value::Text(formats.LocalCodeOf(CellFormats::KeyOfCell(ref.cell)));
    case platform::CellProperty::kFormula:
      return rt::Value::Text(FormulaOf(ref, formats));
  }
  Refuse();
}

// Value takes a text as typed input (one that starts with "=" as a formula); Formula takes a
// text that is no formula as typed input too; Text cannot be written.
void WriteCell(const CellRef& ref, platform::CellProperty property, const rt::Value& value,
               CellFormats& formats) {
  const auto text_of = [](const rt::Value& v) {
    return v.is_text()    ? v.text()
           : v.is_error() ? rt::ErrorValueText(v.error_code())
                          : rt::TextForm(v);
  };
  switch (property) {
    case platform::CellProperty::kValue:
      if (value.is_text() && !value.text().empty() && value.text()[0] == L'=') {
        WriteFormula(ref, value.text(), formats);
      } else {
        WriteValue(ref, value, formats);
      }
      return;
    case platform::CellProperty::kText:
      Refuse();
    case platform::CellProperty::kNumberFormatLocal:
      CellFormats::SetKey(ref.cell, formats.KeyOf(text_of(value)));
      return;
    case platform::CellProperty::kFormula:
      WriteFormula(ref, text_of(value), formats);
      return;
  }
}

}  // namespace harumado::calc
