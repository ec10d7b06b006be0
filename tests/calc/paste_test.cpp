// ActiveSheet.Paste of clipboard text: Excel's rules for pasted text, carried out by the host
// through Calc's API. The cells are checked through UNO as well as through the host.
#include <gtest/gtest.h>

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/table/CellContentType.hpp>
#include <com/sun/star/table/XCell.hpp>

#include "calc_fixture.h"
#include "runtime/conversions.h"
#include "support/error_of.h"

namespace harumado::calc::testing {
namespace {

using platform::CellProperty;
using test_support::ErrorOf;

constexpr const wchar_t* kKept = L"G/標準";

struct PasteCase {
  const wchar_t* text;
  rt::Value value;
  const wchar_t* format;
};

class CalcPasteTest : public CalcSuite, public ::testing::WithParamInterface<PasteCase> {};

TEST_P(CalcPasteTest, ReadsTheFieldAsExcelReadsTypedInput) {
  application_->SelectOffset(1, rt::Value::Number(1));  // B2
  clipboard_.text = GetParam().text;
  sheet_->Paste();

  EXPECT_EQ(sheet_->GetCell(2, 2, CellProperty::kValue), GetParam().value);
  if (GetParam().value.is_number()) {
    EXPECT_EQ(UnoCell(2, 2)->getValue(), GetParam().value.number());
  }
  EXPECT_EQ(sheet_->GetCell(2, 2, CellProperty::kNumberFormatLocal),
            rt::Value::Text(GetParam().format));
}

INSTANTIATE_TEST_SUITE_P(
    ExcelRules, CalcPasteTest,
    ::testing::Values(PasteCase{L"123", rt::Value::Number(123), kKept},
                      PasteCase{L"-5", rt::Value::Number(-5), kKept},
                      PasteCase{L"0003", rt::Value::Number(3), kKept},
                      PasteCase{L" 123 ", rt::Value::Number(123), kKept},
                      PasteCase{L"(123)", rt::Value::Number(-123), kKept},
                      PasteCase{L"１２３", rt::Value::Number(123), kKept},
                      PasteCase{L"123.5", rt::Value::Number(123.5), kKept},
                      PasteCase{L"1,234", rt::Value::Number(1234), L"#,##0"},
                      PasteCase{L"1,234.5", rt::Value::Number(1234.5), L"#,##0.00"},
                      PasteCase{L"\\1,000", rt::Value::Number(1000), L"\\#,##0;\\-#,##0"},
                      PasteCase{L"¥1,000", rt::Value::Number(1000), L"\\#,##0;\\-#,##0"},
                      PasteCase{L"\\1,000.5", rt::Value::Number(1000.5), L"\\#,##0.00;\\-#,##0.00"},
                      PasteCase{L"10%", rt::Value::Number(0.1), L"0%"},
                      PasteCase{L"12.5%", rt::Value::Number(0.125), L"0.00%"},
                      PasteCase{L"1E3", rt::Value::Number(1000), L"0.00E+00"},
                      PasteCase{L"2026/12/10", rt::Value::FromDate(rt::DateSerial(2026, 12, 10)),
                                L"yyyy/m/d"},
                      PasteCase{L"12:30", rt::Value::FromDate(rt::TimeSerial(12, 30, 0)), L"h:mm"},
                      PasteCase{L"TRUE", rt::Value::Logical(true), kKept},
                      PasteCase{L"123-", rt::Value::Text(L"123-"), kKept},
                      PasteCase{L"￥1,000", rt::Value::Text(L"￥1,000"), kKept},
                      PasteCase{L"Smith, John", rt::Value::Text(L"Smith, John"), kKept},
                      PasteCase{L"=1+2", rt::Value::Text(L"=1+2"), kKept}));

using CalcPasteBlockTest = CalcSuite;

// Tabs and line ends make a block at the active cell; the block is selected and its top-left
// cell stays the active cell.
TEST_F(CalcPasteBlockTest, TabsAndLineEndsFillABlockThatIsSelected) {
  application_->SelectOffset(2, rt::Value::Number(1));  // B3
  clipboard_.text = L"a\t1\r\n\t2,000\nx\r";
  sheet_->Paste();
  EXPECT_EQ(sheet_->GetCell(3, 2, CellProperty::kValue), rt::Value::Text(L"a"));
  EXPECT_EQ(sheet_->GetCell(3, 3, CellProperty::kValue), rt::Value::Number(1));
  EXPECT_EQ(sheet_->GetCell(4, 2, CellProperty::kValue), rt::Value());
  EXPECT_EQ(sheet_->GetCell(4, 3, CellProperty::kValue), rt::Value::Number(2000));
  EXPECT_EQ(sheet_->GetCell(5, 2, CellProperty::kValue), rt::Value::Text(L"x"));
  // The trailing line end adds no row.
  EXPECT_EQ(sheet_->GetCell(6, 2, CellProperty::kValue), rt::Value());
  EXPECT_EQ(application_->GetActiveCell(platform::ActiveCellProperty::kRow), 3);
  EXPECT_EQ(application_->GetActiveCell(platform::ActiveCellProperty::kColumn), 2);
  // Offset(0, 0).Select makes the active cell the whole selection again.
  application_->SelectOffset(0, rt::Value::Number(0));
  EXPECT_EQ(application_->GetActiveCell(platform::ActiveCellProperty::kRow), 3);
}

// The empty field empties its cell; a cell formatted as text takes the field as text.
TEST_F(CalcPasteBlockTest, EmptyFieldEmptiesAndTextFormatKeepsText) {
  sheet_->SetCell(1, 1, CellProperty::kValue, rt::Value::Number(5));
  sheet_->SetCell(1, 2, CellProperty::kNumberFormatLocal, rt::Value::Text(L"@"));
  clipboard_.text = L"\t0003";
  sheet_->Paste();
  EXPECT_EQ(sheet_->GetCell(1, 1, CellProperty::kValue), rt::Value());
  EXPECT_EQ(sheet_->GetCell(1, 2, CellProperty::kValue), rt::Value::Text(L"0003"));
  // Checked through UNO: a text cell, not a number shown as text.
  EXPECT_EQ(UnoCell(1, 2)->getType(), css::table::CellContentType_TEXT);
  EXPECT_EQ(UnoCell(1, 1)->getType(), css::table::CellContentType_EMPTY);
}

// A short row fills only its own fields: the cells after its last field keep what they held.
TEST_F(CalcPasteBlockTest, AShortRowLeavesTheCellsAfterItsFieldsAlone) {
  sheet_->SetCell(2, 2, CellProperty::kValue, rt::Value::Number(8));
  sheet_->SetCell(2, 3, CellProperty::kValue, rt::Value::Text(L"kept"));
  sheet_->SetCell(3, 3, CellProperty::kNumberFormatLocal, rt::Value::Text(L"0.0"));
  clipboard_.text = L"a\tb\tc\nd\n1\t2\t3";
  sheet_->Paste();
  EXPECT_EQ(sheet_->GetCell(2, 1, CellProperty::kValue), rt::Value::Text(L"d"));
  EXPECT_EQ(sheet_->GetCell(2, 2, CellProperty::kValue), rt::Value::Number(8));
  EXPECT_EQ(sheet_->GetCell(2, 3, CellProperty::kValue), rt::Value::Text(L"kept"));
  EXPECT_EQ(sheet_->GetCell(1, 3, CellProperty::kValue), rt::Value::Text(L"c"));
  EXPECT_EQ(sheet_->GetCell(3, 3, CellProperty::kValue), rt::Value::Number(3));
  EXPECT_EQ(sheet_->GetCell(3, 3, CellProperty::kNumberFormatLocal), rt::Value::Text(L"0.0"));
}

// Each cell of a block ends with its own field's format or keeps its own: a table whose columns
// and rows differ in both.
TEST_F(CalcPasteBlockTest, EachCellEndsWithItsOwnFormat) {
  sheet_->SetCell(2, 3, CellProperty::kNumberFormatLocal, rt::Value::Text(L"@"));
  clipboard_.text = L"1,234\t2026/12/10\tx\r\n5\t1,000\t0003\r\n10%\tTRUE\t7";
  sheet_->Paste();
  struct Expected {
    std::int32_t row, column;
    rt::Value value;
    const wchar_t* format;
  };
  const Expected cells[] = {
      {1, 1, rt::Value::Number(1234), L"#,##0"},
      {1, 2, rt::Value::FromDate(rt::DateSerial(2026, 12, 10)), L"yyyy/m/d"},
      {1, 3, rt::Value::Text(L"x"), kKept},
      {2, 1, rt::Value::Number(5), kKept},
      {2, 2, rt::Value::Number(1000), L"#,##0"},
      {2, 3, rt::Value::Text(L"0003"), L"@"},
      {3, 1, rt::Value::Number(0.1), L"0%"},
      {3, 2, rt::Value::Logical(true), kKept},
      {3, 3, rt::Value::Number(7), kKept},
  };
  for (const auto& cell : cells) {
    SCOPED_TRACE(::testing::Message() << "row " << cell.row << ", column " << cell.column);
    EXPECT_EQ(sheet_->GetCell(cell.row, cell.column, CellProperty::kValue), cell.value);
    EXPECT_EQ(sheet_->GetCell(cell.row, cell.column, CellProperty::kNumberFormatLocal),
              rt::Value::Text(cell.format));
  }
}

TEST_F(CalcPasteBlockTest, WithoutTextOnTheClipboardPasteFailsWith1004) {
  clipboard_.text.reset();
  EXPECT_EQ(ErrorOf([&] { sheet_->Paste(); }), rt::err::kApplicationDefined);
  // A block that would leave the sheet is refused as well, and nothing is written.
  application_->SelectOffset(0, rt::Value::Number(16383));
  clipboard_.text = L"1\t2";
  EXPECT_EQ(ErrorOf([&] { sheet_->Paste(); }), rt::err::kApplicationDefined);
  EXPECT_EQ(sheet_->GetCell(1, 16384, CellProperty::kValue), rt::Value());
}

}  // namespace
}  // namespace harumado::calc::testing
