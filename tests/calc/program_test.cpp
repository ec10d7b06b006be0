// The program's own paste and column-fit steps against Calc through the host: what the user
// sees in the cells, checked through the host and UNO.
#include "core/app/program.h"

#include <gtest/gtest.h>

#include <cmath>
#include <com/sun/star/awt/Point.hpp>
#include <com/sun/star/awt/Size.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/drawing/XDrawPage.hpp>
#include <com/sun/star/drawing/XDrawPages.hpp>
#include <com/sun/star/drawing/XDrawPagesSupplier.hpp>
#include <com/sun/star/drawing/XShape.hpp>
#include <com/sun/star/table/XColumnRowRange.hpp>
#include <com/sun/star/table/XTableColumns.hpp>

#include "bitmap.h"
#include "calc_fixture.h"
#include "core/app/form1.h"
#include "core/columns/module4.h"
#include "core/paste/module1.h"
#include "runtime/column_width.h"
#include "runtime/skip_mode.h"
#include "sim/desktop.h"

namespace harumado::calc::testing {
namespace {

using platform::CellProperty;

// The program on the simulated desktop, with Calc as its spreadsheet.
class CalcProgramTest : public CalcSuite {
 protected:
  void SetUp() override {
    CalcSuite::SetUp();
    services_ = std::make_unique<platform::Services>(
        platform::Services{*host_, desktop_.windows, desktop_.clipboard, desktop_.speech,
                           desktop_.files, desktop_.system, desktop_.files});
    program_ = std::make_unique<app::Program>(*services_);
    program_->Start();
    program_->form1().state.WrapCount = 1;  // as the paste loop takes it from Text1
  }
  void TearDown() override {
    program_.reset();
    CalcSuite::TearDown();
  }
  // One paste of the clipboard and the cursor step after it, as the paste loop runs them.
  void PasteText(int mode_flag) {
    program_->form1().state.ModeFlag = mode_flag;
    rt::SkipMode skip;
    paste::PasteText(*program_, skip);
    paste::AdvanceCursor(*program_, row_cells_);
  }
  void PastePicture(int mode_flag) {
    program_->form1().state.ModeFlag = mode_flag;
    rt::SkipMode skip;
    paste::PastePicture(*program_, skip);
    paste::AdvanceCursor(*program_, row_cells_);
  }
  rt::Value Cell(int row, int column, CellProperty property) {
    return sheet_->GetCell(row, column, property);
  }

  sim::Desktop desktop_;
  std::unique_ptr<platform::Services> services_;
  std::unique_ptr<app::Program> program_;
  std::int32_t row_cells_ = 0;
};

struct ModeCase {
  const wchar_t* text;
  int mode_flag;  // 1 整数, 0 数値
  rt::Value value;
  const wchar_t* format;
  const wchar_t* shown;
};

class CalcProgramPasteTest : public CalcProgramTest,
                             public ::testing::WithParamInterface<ModeCase> {};

// The cases of the text paste: Calc pastes as Excel does, then the program rewrites the format.
TEST_P(CalcProgramPasteTest, TextPasteEndsWithTheProgramsFormat) {
  clipboard_.text = GetParam().text;
  PasteText(GetParam().mode_flag);
  EXPECT_EQ(Cell(1, 1, CellProperty::kValue), GetParam().value);
  EXPECT_EQ(Cell(1, 1, CellProperty::kNumberFormatLocal), rt::Value::Text(GetParam().format));
  EXPECT_EQ(Cell(1, 1, CellProperty::kText), rt::Value::Text(GetParam().shown));
  // The cursor went one cell down.
  EXPECT_EQ(application_->GetActiveCell(platform::ActiveCellProperty::kRow), 2);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, CalcProgramPasteTest,
    ::testing::Values(ModeCase{L"123", 1, rt::Value::Number(123), L"###0", L"123"},
                      ModeCase{L"123", 0, rt::Value::Number(123), L"###0", L"123"},
                      ModeCase{L"123.5", 1, rt::Value::Number(123.5), L"###0", L"124"},
                      ModeCase{L"123.5", 0, rt::Value::Number(123.5), L"###0.###", L"123.5"},
                      ModeCase{L"1,234", 0, rt::Value::Number(1234), L"#,##0", L"1,234"},
                      ModeCase{L"1,234", 1, rt::Value::Number(1234), L"###0", L"1234"},
                      ModeCase{L"\\1,000", 0, rt::Value::Number(1000), L"\\#,##0", L"\\1,000"},
                      ModeCase{L"Smith, John", 0, rt::Value::Text(L"Smith, John"), L"\\#,##0.###",
                               L"Smith, John"}));

using CalcProgramStepsTest = CalcProgramTest;

// Mode 画像□: the picture covers the active cell exactly and the caption follows.
TEST_F(CalcProgramStepsTest, PicturePasteFitsTheCell) {
  application_->SelectOffset(2, rt::Value::Number(2));
  clipboard_.picture = Bitmap(400, 300);
  PastePicture(0);
  ASSERT_EQ(sheet_->ShapeCount(), 1);
  EXPECT_EQ(program_->form1().Check2().text(), L"画像□");
  Reference<css::drawing::XDrawPagesSupplier> pages(UnoDocument(), css::uno::UNO_QUERY_THROW);
  Reference<css::drawing::XDrawPage> page(pages->getDrawPages()->getByIndex(0),
                                          css::uno::UNO_QUERY_THROW);
  Reference<css::drawing::XShape> shape(page->getByIndex(0), css::uno::UNO_QUERY_THROW);
  Reference<css::beans::XPropertySet> cell(UnoCell(3, 3), css::uno::UNO_QUERY_THROW);
  css::awt::Point position;
  css::awt::Size size;
  cell->getPropertyValue("Position") >>= position;
  cell->getPropertyValue("Size") >>= size;
  EXPECT_NEAR(shape->getPosition().X, position.X, 2);
  EXPECT_NEAR(shape->getPosition().Y, position.Y, 2);
  EXPECT_NEAR(shape->getSize().Width, size.Width, 2);
  EXPECT_NEAR(shape->getSize().Height, size.Height, 2);
}

// The column fit: a column with a number shown with a thousands comma and a ten-letter text is
// fitted to the number, and the text is there again afterwards.
TEST_F(CalcProgramStepsTest, ColumnFitFitsNumbersAndGivesTextsBack) {
  sheet_->SetCell(1, 1, CellProperty::kValue, rt::Value::Number(12345));
  sheet_->SetCell(1, 1, CellProperty::kNumberFormatLocal, rt::Value::Text(L"#,##0"));
  sheet_->SetCell(2, 1, CellProperty::kValue, rt::Value::Text(L"abcdefghij"));
  sheet_->SetCell(3, 1, CellProperty::kFormula, rt::Value::Text(L"=\"x\"&\"y\""));
  sheet_->SetColumnWidth(1, 40);
  sheet_->SetCell(1, 6, CellProperty::kValue, rt::Value::Text(L"untouched"));
  sheet_->SetColumnWidth(6, 30);
  columns::AutoFitColumns(*program_);
  EXPECT_EQ(program_->form1().Text2().text(), L"セル幅が自動調整されました。");
  EXPECT_EQ(Cell(2, 1, CellProperty::kValue), rt::Value::Text(L"abcdefghij"));
  EXPECT_EQ(Cell(3, 1, CellProperty::kFormula), rt::Value::Text(L"=\"x\"&\"y\""));
  // Fitted to "12,345": narrower than the ten letters would need; column F keeps its width.
  Reference<css::table::XColumnRowRange> range(UnoSheet(), css::uno::UNO_QUERY_THROW);
  auto width_of = [&](int column) {
    Reference<css::beans::XPropertySet> c(range->getColumns()->getByIndex(column - 1),
                                          css::uno::UNO_QUERY_THROW);
    sal_Int32 w = 0;
    c->getPropertyValue("Width") >>= w;
    return w;
  };
  EXPECT_LT(width_of(1), std::lround(rt::ColumnPoints(10) * 2540 / 72));
  EXPECT_EQ(width_of(6), std::lround(rt::ColumnPoints(30) * 2540 / 72));
}

}  // namespace
}  // namespace harumado::calc::testing
