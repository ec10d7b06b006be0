// Number formats: the program's local codes written and read back, and the texts the cells then
// show (Range.Text), as the paste steps read them.
#include <gtest/gtest.h>

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/util/XNumberFormats.hpp>
#include <com/sun/star/util/XNumberFormatsSupplier.hpp>

#include "calc_fixture.h"
#include "runtime/conversions.h"
#include "support/error_of.h"

namespace harumado::calc::testing {
namespace {

using platform::CellProperty;
using test_support::ErrorOf;

struct FormatCase {
  double value;
  const wchar_t* code;
  const wchar_t* text;  // shown in a column of the standard width
};

class CalcFormatTest : public CalcSuite, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(CalcFormatTest, CodeComesBackAndTheCellShowsExcelsText) {
  sheet_->SetCell(1, 1, CellProperty::kValue, rt::Value::Number(GetParam().value));
  sheet_->SetCell(1, 1, CellProperty::kNumberFormatLocal, rt::Value::Text(GetParam().code));
  EXPECT_EQ(sheet_->GetCell(1, 1, CellProperty::kNumberFormatLocal),
            rt::Value::Text(GetParam().code));
  EXPECT_EQ(sheet_->GetCell(1, 1, CellProperty::kText), rt::Value::Text(GetParam().text));
}

// The codes of the paste steps, with the trailing point that ".###" leaves on a whole number
// and the yen mark shown as '\'.
INSTANTIATE_TEST_SUITE_P(
    PasteCodes, CalcFormatTest,
    ::testing::Values(
        FormatCase{123, L"G/標準", L"123"}, FormatCase{123.5, L"G/標準", L"123.5"},
        FormatCase{123.5, L"###0", L"124"}, FormatCase{123.5, L"###0.###", L"123.5"},
        FormatCase{123, L"###0.###", L"123."}, FormatCase{123, L"\\#,##0.###", L"\\123."},
        FormatCase{1234.5, L"#,##0.###", L"1,234.5"}, FormatCase{1234, L"#,##0", L"1,234"},
        FormatCase{1234, L"\\#,##0", L"\\1,234"},
        FormatCase{-1234, L"\\#,##0;\\-#,##0", L"\\-1,234"}, FormatCase{1234, L"\\###0", L"\\1234"},
        FormatCase{0.125, L"0.00%", L"12.50%"}, FormatCase{46366, L"yyyy/m/d", L"2026/12/10"}));

using CalcCellTest = CalcSuite;

// A number too wide for its column shows '#' across the column, as in Excel; General never
// fills.
TEST_F(CalcCellTest, NarrowColumnShowsNumberSigns) {
  sheet_->SetColumnWidth(1, 4);
  sheet_->SetCell(1, 1, CellProperty::kValue, rt::Value::Number(1234567));
  sheet_->SetCell(1, 1, CellProperty::kNumberFormatLocal, rt::Value::Text(L"#,##0"));
  EXPECT_EQ(sheet_->GetCell(1, 1, CellProperty::kText), rt::Value::Text(L"####"));
  sheet_->SetCell(1, 1, CellProperty::kNumberFormatLocal, rt::Value::Text(L"G/標準"));
  EXPECT_EQ(sheet_->GetCell(1, 1, CellProperty::kText), rt::Value::Text(L"1234567"));
}

// Written through the host, read through UNO: the yen mark is Calc's escaped backslash, and
// the code is added in the Japanese locale.
TEST_F(CalcCellTest, YenCodeIsCalcsEscapedBackslashInTheJapaneseLocale) {
  sheet_->SetCell(2, 2, CellProperty::kNumberFormatLocal, rt::Value::Text(L"\\#,##0.###"));
  Reference<css::beans::XPropertySet> cell(UnoCell(2, 2), css::uno::UNO_QUERY_THROW);
  sal_Int32 key = 0;
  cell->getPropertyValue("NumberFormat") >>= key;
  Reference<css::util::XNumberFormatsSupplier> supplier(UnoDocument(), css::uno::UNO_QUERY_THROW);
  const auto format = supplier->getNumberFormats()->getByKey(key);
  rtl::OUString code;
  css::lang::Locale locale;
  format->getPropertyValue("FormatString") >>= code;
  format->getPropertyValue("Locale") >>= locale;
  EXPECT_EQ(FromOU(code), L"\\\\#,##0.###");
  EXPECT_EQ(FromOU(locale.Language), L"ja");
}

// Codes that Excel refuses are refused; the cell keeps its format.
TEST_F(CalcCellTest, UnusableCodeIsRefusedWith1004) {
  sheet_->SetCell(1, 1, CellProperty::kNumberFormatLocal, rt::Value::Text(L"###0"));
  EXPECT_EQ(ErrorOf([&] {
              sheet_->SetCell(1, 1, CellProperty::kNumberFormatLocal, rt::Value::Text(L"0\""));
            }),
            rt::err::kApplicationDefined);
  EXPECT_EQ(sheet_->GetCell(1, 1, CellProperty::kNumberFormatLocal), rt::Value::Text(L"###0"));
}

// Value, Formula and Text of the kinds of cells the column fit reads and writes back.
TEST_F(CalcCellTest, FormulasAndConstantsReadAsExcelGivesThem) {
  sheet_->SetCell(1, 1, CellProperty::kFormula, rt::Value::Text(L"=1+2"));
  EXPECT_EQ(sheet_->GetCell(1, 1, CellProperty::kValue), rt::Value::Number(3));
  EXPECT_EQ(sheet_->GetCell(1, 1, CellProperty::kFormula), rt::Value::Text(L"=1+2"));
  sheet_->SetCell(2, 1, CellProperty::kFormula, rt::Value::Text(L"=\"ab\"&\"c\""));
  EXPECT_EQ(sheet_->GetCell(2, 1, CellProperty::kValue), rt::Value::Text(L"abc"));
  sheet_->SetCell(3, 1, CellProperty::kValue, rt::Value::Number(-5));
  EXPECT_EQ(sheet_->GetCell(3, 1, CellProperty::kFormula), rt::Value::Text(L"-5"));
  sheet_->SetCell(4, 1, CellProperty::kValue, rt::Value::Text(L""));
  EXPECT_EQ(sheet_->GetCell(4, 1, CellProperty::kValue), rt::Value());
  sheet_->SetCell(5, 1, CellProperty::kValue, rt::Value::FromDate(rt::DateSerial(2026, 1, 5)));
  EXPECT_EQ(sheet_->GetCell(5, 1, CellProperty::kText), rt::Value::Text(L"2026/1/5"));
  EXPECT_EQ(ErrorOf([&] { sheet_->SetCell(1, 1, CellProperty::kText, rt::Value::Text(L"x")); }),
            rt::err::kApplicationDefined);
}

}  // namespace
}  // namespace harumado::calc::testing
