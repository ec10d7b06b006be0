// The cursor, the edges of the sheet, the last used row, column widths and block reads and
// writes.
#include <gtest/gtest.h>

#include <cmath>
#include <com/sun/star/awt/Point.hpp>
#include <com/sun/star/awt/Size.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/table/XColumnRowRange.hpp>
#include <com/sun/star/table/XTableColumns.hpp>

#include "calc_fixture.h"
#include "runtime/column_width.h"
#include "support/error_of.h"

namespace harumado::calc::testing {
namespace {

using platform::ActiveCellProperty;
using platform::CellProperty;
using test_support::ErrorOf;
using CalcSheetTest = CalcSuite;

std::int32_t UnoColumnWidth(const Reference<css::sheet::XSpreadsheet>& sheet, int column) {
  Reference<css::table::XColumnRowRange> range(sheet, css::uno::UNO_QUERY_THROW);
  Reference<css::beans::XPropertySet> properties(range->getColumns()->getByIndex(column - 1),
                                                 css::uno::UNO_QUERY_THROW);
  sal_Int32 width = 0;
  properties->getPropertyValue("Width") >>= width;
  return width;
}

// Offset moves the cursor; a target outside the sheet fails with 1004 and leaves it.
TEST_F(CalcSheetTest, OffsetSelectsAndRefusesTargetsOutsideTheSheet) {
  application_->SelectOffset(4, rt::Value::Number(2));
  EXPECT_EQ(application_->GetActiveCell(ActiveCellProperty::kRow), 5);
  EXPECT_EQ(application_->GetActiveCell(ActiveCellProperty::kColumn), 3);
  // The column offset as a text, as the wrap gives it.
  application_->SelectOffset(0, rt::Value::Text(L"-2"));
  EXPECT_EQ(application_->GetActiveCell(ActiveCellProperty::kColumn), 1);
  EXPECT_EQ(ErrorOf([&] { application_->SelectOffset(0, rt::Value::Number(-1)); }),
            rt::err::kApplicationDefined);
  EXPECT_EQ(ErrorOf([&] { application_->SelectOffset(-5, rt::Value::Number(0)); }),
            rt::err::kApplicationDefined);
  EXPECT_EQ(application_->GetActiveCell(ActiveCellProperty::kRow), 5);
  application_->SelectOffset(0, rt::Value::Number(16383));
  EXPECT_EQ(application_->GetActiveCell(ActiveCellProperty::kColumn), 16384);
  EXPECT_EQ(ErrorOf([&] { application_->SelectOffset(0, rt::Value::Number(1)); }),
            rt::err::kApplicationDefined);
  EXPECT_EQ(sheet_->RowCount(), 1048576);
}

// The box of the active cell in points: C3 of the standard sheet, as the cell reports it in
// 1/100 mm.
TEST_F(CalcSheetTest, ActiveCellBoxIsInPoints) {
  application_->SelectOffset(2, rt::Value::Number(2));
  Reference<css::beans::XPropertySet> cell(UnoCell(3, 3), css::uno::UNO_QUERY_THROW);
  css::awt::Point position;
  css::awt::Size size;
  cell->getPropertyValue("Position") >>= position;
  cell->getPropertyValue("Size") >>= size;
  EXPECT_NEAR(application_->GetActiveCell(ActiveCellProperty::kLeft), position.X * 72 / 2540.0,
              1e-9);
  EXPECT_NEAR(application_->GetActiveCell(ActiveCellProperty::kTop), position.Y * 72 / 2540.0,
              1e-9);
  EXPECT_NEAR(application_->GetActiveCell(ActiveCellProperty::kWidth), size.Width * 72 / 2540.0,
              1e-9);
  EXPECT_NEAR(application_->GetActiveCell(ActiveCellProperty::kHeight), size.Height * 72 / 2540.0,
              1e-9);
  EXPECT_GT(application_->GetActiveCell(ActiveCellProperty::kLeft), 0);
}

struct EndUpCase {
  const char* what;
  std::vector<int> filled;  // rows of column B that hold something
  int from;
  int row;
};

TEST_F(CalcSheetTest, EndUpFollowsCtrlUp) {
  const EndUpCase cases[] = {
      {"empty column from the last row", {}, 1048576, 1},
      {"last filled row from the last row", {1, 2, 3, 7}, 1048576, 7},
      {"inside a run, to its top", {4, 5, 6}, 6, 4},
      {"at the top of a run, to the next filled above", {2, 5, 6}, 5, 2},
      {"below a gap", {3}, 9, 3},
      {"row 1", {1}, 1, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    sheet_->EmptyColumnCells(2, 1, 20);
    for (int row : c.filled) sheet_->SetCell(row, 2, CellProperty::kValue, rt::Value::Number(row));
    EXPECT_EQ(sheet_->EndUpRow(c.from, 2), c.row);
  }
}

// Widths in characters become Calc's 1/100 mm by Excel's pixel rule; AutoFit is Calc's optimal
// width, which grows with the longest display.
TEST_F(CalcSheetTest, ColumnWidthInCharactersAndAutoFit) {
  sheet_->SetColumnWidth(2, 12);
  EXPECT_EQ(UnoColumnWidth(UnoSheet(), 2), std::lround(rt::ColumnPoints(12) * 2540 / 72));
  EXPECT_EQ(ErrorOf([&] { sheet_->SetColumnWidth(2, 256); }), rt::err::kApplicationDefined);
  EXPECT_EQ(ErrorOf([&] { sheet_->SetColumnWidth(2, -1); }), rt::err::kApplicationDefined);

  sheet_->SetCell(1, 3, CellProperty::kValue, rt::Value::Number(1));
  sheet_->SetColumnWidth(3, 30);
  sheet_->AutoFitColumn(3);
  const auto narrow = UnoColumnWidth(UnoSheet(), 3);
  sheet_->SetCell(2, 3, CellProperty::kValue, rt::Value::Number(123456789012.0));
  sheet_->AutoFitColumn(3);
  const auto wide = UnoColumnWidth(UnoSheet(), 3);
  EXPECT_LT(narrow, std::lround(rt::ColumnPoints(30) * 2540 / 72));
  EXPECT_GT(wide, narrow);
}

// One call each way for a block of a column, with Excel's kinds of value.
TEST_F(CalcSheetTest, ColumnBlocksReadAndWriteInOneCall) {
  sheet_->SetCell(1, 1, CellProperty::kValue, rt::Value::Number(5));
  sheet_->SetCell(2, 1, CellProperty::kValue, rt::Value::Text(L"abc"));
  sheet_->SetCell(4, 1, CellProperty::kValue, rt::Value::Text(L"2026/12/10"));
  sheet_->SetCell(5, 1, CellProperty::kFormula, rt::Value::Text(L"=A1*2"));
  const auto values = sheet_->GetColumnCells(1, 1, 5, CellProperty::kValue);
  ASSERT_EQ(values.size(), 5u);
  EXPECT_EQ(values[0], rt::Value::Number(5));
  EXPECT_EQ(values[1], rt::Value::Text(L"abc"));
  EXPECT_EQ(values[2], rt::Value());
  EXPECT_TRUE(values[3].is_date());
  EXPECT_EQ(values[4], rt::Value::Number(10));
  const auto formulas = sheet_->GetColumnCells(1, 1, 5, CellProperty::kFormula);
  EXPECT_EQ(formulas[4], rt::Value::Text(L"=A1*2"));
  EXPECT_EQ(formulas[1], rt::Value::Text(L"abc"));
  // A text that Calc would read as a number is its text, as Excel gives it (Calc's own formula
  // text marks it with an apostrophe).
  sheet_->SetCell(6, 1, CellProperty::kNumberFormatLocal, rt::Value::Text(L"@"));
  sheet_->SetCell(6, 1, CellProperty::kValue, rt::Value::Text(L"12/5"));
  EXPECT_EQ(sheet_->GetColumnCells(1, 6, 6, CellProperty::kFormula)[0], rt::Value::Text(L"12/5"));
  EXPECT_EQ(sheet_->GetCell(6, 1, CellProperty::kFormula), rt::Value::Text(L"12/5"));

  sheet_->EmptyColumnCells(1, 1, 6);
  EXPECT_EQ(sheet_->EndUpRow(1048576, 1), 1);
  EXPECT_EQ(sheet_->GetCell(1, 1, CellProperty::kValue), rt::Value());

  const rt::Value numbers[] = {rt::Value::Number(1), rt::Value::Number(2.5)};
  sheet_->SetColumnCells(4, 2, CellProperty::kValue, numbers);
  EXPECT_EQ(UnoCell(3, 4)->getValue(), 2.5);
  const rt::Value formulas_back[] = {rt::Value::Text(L"=D2+D3"), rt::Value::Text(L"x")};
  sheet_->SetColumnCells(5, 1, CellProperty::kFormula, formulas_back);
  EXPECT_EQ(sheet_->GetCell(1, 5, CellProperty::kValue), rt::Value::Number(3.5));
  EXPECT_EQ(sheet_->GetCell(2, 5, CellProperty::kValue), rt::Value::Text(L"x"));
}

// The selection taken before a column fit is selected again afterwards.
TEST_F(CalcSheetTest, RangeSelectionIsSelectedAgain) {
  application_->SelectOffset(3, rt::Value::Number(3));
  auto selection = application_->RangeSelection();
  ASSERT_NE(selection, nullptr);
  application_->SelectOffset(5, rt::Value::Number(0));
  selection->Select();
  EXPECT_EQ(application_->GetActiveCell(ActiveCellProperty::kRow), 4);
  EXPECT_EQ(application_->GetActiveCell(ActiveCellProperty::kColumn), 4);
}

// ClipboardFormats: text first (0), a picture as a bitmap (9, 2), nothing for neither.
TEST_F(CalcSheetTest, ClipboardFormatsFollowTheClipboard) {
  EXPECT_TRUE(application_->ClipboardFormats().empty());
  clipboard_.picture = std::vector<std::uint8_t>{1, 2, 3};
  EXPECT_EQ(application_->ClipboardFormats(), (std::vector<int>{9, 2}));
  clipboard_.text = L"x";
  EXPECT_EQ(application_->ClipboardFormats(), (std::vector<int>{0, 9, 2}));
}

}  // namespace
}  // namespace harumado::calc::testing
