#include "sim/excel/sheet.h"

#include <gtest/gtest.h>

#include "runtime/automation_error.h"
#include "support/error_of.h"

namespace harumado::sim {
namespace {

using platform::ActiveCellProperty;
using platform::CellProperty;
using platform::ShapeProperty;

using test_support::ErrorOf;

constexpr CellRef C3{3, 3};

TEST(SheetGeometry, StandardCellC3) {
  SimSheet s;
  s.Select(C3);
  EXPECT_EQ(s.ActiveCellProperty(ActiveCellProperty::kRow), 3);
  EXPECT_EQ(s.ActiveCellProperty(ActiveCellProperty::kColumn), 3);
  EXPECT_EQ(s.ActiveCellProperty(ActiveCellProperty::kLeft), 108);
  EXPECT_EQ(s.ActiveCellProperty(ActiveCellProperty::kTop), 37.5);
  EXPECT_EQ(s.ActiveCellProperty(ActiveCellProperty::kWidth), 54);
  EXPECT_EQ(s.ActiveCellProperty(ActiveCellProperty::kHeight), 18.75);
}

TEST(SheetGeometry, ColumnWidthInPixelsAndPoints) {
  struct {
    double characters;
    double points;
  } cases[] = {{8.38, 54}, {10, 63.75}, {1, 9.75}, {0, 0}, {255, 1533.75}, {5.5, 36.75}};
  for (const auto& c : cases)
    EXPECT_EQ(SimSheet::ColumnPoints(c.characters), c.points) << c.characters;
  SimSheet s;
  s.SetColumnWidth(1, 10);
  s.SetRowHeight(2, 30);
  EXPECT_EQ(s.CellLeft(3), 63.75 + 54);
  EXPECT_EQ(s.CellTop(3), 18.75 + 30);
  EXPECT_EQ(s.CellTop(1048576), 1048574 * 18.75 + 30);
  EXPECT_EQ(ErrorOf([&] { s.SetColumnWidth(1, 255.5); }), 1004);
  EXPECT_EQ(ErrorOf([&] { s.SetColumnWidth(1, -1); }), 1004);
  EXPECT_EQ(ErrorOf([&] { s.SetColumnWidth(16385, 5); }), 1004);
}

TEST(SheetSelection, OffsetInsideAndAtTheEdges) {
  struct Case {
    CellRef from;
    int rows;
    int columns;
    std::optional<CellRef> to;  // nothing: outside the sheet
  } cases[] = {
      {{1, 1}, 0, 0, CellRef{1, 1}},    {{5, 2}, 1, 0, CellRef{6, 2}},
      {{5, 4}, 0, -2, CellRef{5, 2}},   {{1, 1}, -1, 0, std::nullopt},
      {{1, 1}, 0, -1, std::nullopt},    {{1048576, 1}, 1, 0, std::nullopt},
      {{1, 16384}, 0, 1, std::nullopt}, {{1048575, 16383}, 1, 1, CellRef{1048576, 16384}},
  };
  for (const auto& c : cases) {
    SimSheet s;
    s.Select(c.from);
    if (c.to) {
      EXPECT_EQ(s.Offset(c.rows, c.columns), *c.to);
    } else {
      EXPECT_EQ(ErrorOf([&] { s.Offset(c.rows, c.columns); }), 1004)
          << c.from.row << "," << c.from.column << " by " << c.rows << "," << c.columns;
    }
  }
}

TEST(SheetPaste, TextFillsABlockThatBecomesTheSelection) {
  SimSheet s;
  s.Select(CellRef{5, 2});
  s.Enter(CellRef{6, 3}, L"old");
  s.SetFormat(CellRef{5, 3}, L"@");
  s.PasteText(L"1,234\t007\r\nabc\t\r\n");
  EXPECT_EQ(s.Value(CellRef{5, 2}), rt::Value::Number(1234));
  EXPECT_EQ(s.Format(CellRef{5, 2}), L"#,##0");
  EXPECT_EQ(s.Value(CellRef{5, 3}), rt::Value::Text(L"007"));  // a text cell takes text
  EXPECT_EQ(s.Value(CellRef{6, 2}), rt::Value::Text(L"abc"));
  EXPECT_TRUE(s.Value(CellRef{6, 3}).is_empty());  // an empty field empties its cell
  EXPECT_TRUE(s.Value(CellRef{7, 2}).is_empty());  // the trailing line end adds no row
  EXPECT_EQ(s.active(), (CellRef{5, 2}));
  EXPECT_EQ(s.selection(), (CellBlock{{5, 2}, {6, 3}}));
}

TEST(SheetPaste, ABlockPastOfTheSheetIsRefused) {
  SimSheet s;
  s.Select(CellRef{1048576, 1});
  EXPECT_EQ(ErrorOf([&] { s.PasteText(L"1\r\n2"); }), 1004);
  EXPECT_TRUE(s.Value(CellRef{1048576, 1}).is_empty());
}

TEST(SheetCells, FormulasKeepTheirResultAndComeBack) {
  SimSheet s;
  s.EnterFormula(C3, L"=A1&\"x\"", rt::Value::Text(L"5x"));
  EXPECT_EQ(s.Get(C3, CellProperty::kFormula), rt::Value::Text(L"=A1&\"x\""));
  s.Set(C3, CellProperty::kValue, rt::Value::Text(L""));
  EXPECT_TRUE(s.IsBlank(C3));
  s.Set(C3, CellProperty::kFormula, rt::Value::Text(L"=A1&\"x\""));
  EXPECT_EQ(s.Value(C3), rt::Value::Text(L"5x"));
  // A formula never entered with a result has none; a constant's formula is its text form.
  s.Set(C3, CellProperty::kFormula, rt::Value::Text(L"=B1"));
  EXPECT_TRUE(s.Value(C3).is_empty());
  s.Set(C3, CellProperty::kValue, rt::Value::Number(-5));
  EXPECT_EQ(s.Formula(C3), L"-5");
  // Written back through Formula, a text that is no formula is read as typed input.
  s.Set(C3, CellProperty::kFormula, rt::Value::Text(L"1,500"));
  EXPECT_EQ(s.Value(C3), rt::Value::Number(1500));
  EXPECT_EQ(s.Format(C3), L"#,##0");
}

TEST(SheetCells, TextFollowsFormatAndColumnWidth) {
  SimSheet s;
  s.Set(C3, CellProperty::kValue, rt::Value::Number(1234567));
  EXPECT_EQ(s.Text(C3), L"1234567");
  s.Set(C3, CellProperty::kNumberFormatLocal, rt::Value::Text(L"#,##0.###"));
  EXPECT_EQ(s.Text(C3), L"########");  // 10 characters in an 8.38-character column
  s.SetColumnWidth(3, 10);
  EXPECT_EQ(s.Text(C3), L"1,234,567.");
  EXPECT_EQ(ErrorOf([&] { s.Set(C3, CellProperty::kText, rt::Value::Text(L"x")); }), 1004);
}

TEST(SheetColumns, AutoFitTakesTheLongestDisplay) {
  SimSheet s;
  s.Set(CellRef{1, 1}, CellProperty::kValue, rt::Value::Number(12345));
  s.Set(CellRef{1, 1}, CellProperty::kNumberFormatLocal, rt::Value::Text(L"#,##0"));
  s.Enter(CellRef{2, 1}, L"全角です");  // four full-width characters count eight
  s.AutoFit(1);
  EXPECT_EQ(s.ColumnWidth(1), 8);
  s.Enter(CellRef{3, 1}, L"1234567890");
  s.AutoFit(1);
  EXPECT_EQ(s.ColumnWidth(1), 10);
  s.SetColumnWidth(2, 20);
  s.AutoFit(2);  // nothing shown: the standard width
  EXPECT_EQ(s.ColumnWidth(2), 8.38);
}

TEST(SheetColumns, EndUpFindsTheLastFilledRow) {
  SimSheet s;
  EXPECT_EQ(s.EndUp(CellRef{SimSheet::kRows, 1}), 1);
  s.Enter(CellRef{4, 1}, L"x");
  s.Enter(CellRef{5, 1}, L"y");
  s.Enter(CellRef{9, 1}, L"z");
  s.Enter(CellRef{20, 2}, L"other column");
  EXPECT_EQ(s.EndUp(CellRef{SimSheet::kRows, 1}), 9);
  EXPECT_EQ(s.EndUp(CellRef{9, 1}), 5);  // from a filled cell over a gap: the next filled one
  EXPECT_EQ(s.EndUp(CellRef{5, 1}), 4);  // inside a run: its top
  EXPECT_EQ(s.EndUp(CellRef{3, 1}), 1);
}

TEST(SheetProtection, EveryWriteIsRefused) {
  SimSheet s;
  s.Protect();
  const std::vector<std::function<void()>> writes = {
      [&] { s.Set(C3, CellProperty::kValue, rt::Value::Number(1)); },
      [&] { s.Set(C3, CellProperty::kFormula, rt::Value::Text(L"=1")); },
      [&] { s.SetFormat(C3, L"0"); },
      [&] { s.PasteText(L"1"); },
      [&] { s.PastePicture(10, 10); },
      [&] { s.SetColumnWidth(1, 10); },
      [&] { s.AutoFit(1); },
  };
  for (std::size_t i = 0; i < writes.size(); ++i) EXPECT_EQ(ErrorOf(writes[i]), 1004) << i;
  EXPECT_TRUE(s.Value(C3).is_empty());
  EXPECT_TRUE(s.shapes().empty());
  s.Select(C3);  // selecting still works
  EXPECT_EQ(s.active(), C3);
}

// A picture fitted to C3 with placement 1 follows the cell; placement 2 only moves with it;
// placement 3 stays where it is.
TEST(SheetShapes, ShapesFollowTheirCellsByPlacement) {
  struct Case {
    int placement;
    double left, top, width, height;  // after columns B and C grow to 10 and row 3 to 30
  } cases[] = {
      {1, 117.75, 37.5, 63.75, 30},
      {2, 117.75, 37.5, 54, 18.75},
      {3, 108, 37.5, 54, 18.75},
  };
  for (const auto& c : cases) {
    SimSheet s;
    s.Select(C3);
    s.PastePicture(400, 300);
    ASSERT_EQ(s.shapes().size(), 1u);
    EXPECT_EQ(s.shapes()[0].placement, 2);
    EXPECT_EQ(s.shapes()[0].lock_aspect_ratio, -1);
    EXPECT_EQ(s.shapes()[0].left, 108);
    EXPECT_EQ(s.shapes()[0].top, 37.5);
    s.SetShapeProperty(1, ShapeProperty::kLockAspectRatio, 0);
    s.SetShapeProperty(1, ShapeProperty::kPlacement, c.placement);
    s.SetShapeProperty(1, ShapeProperty::kWidth, 54);
    s.SetShapeProperty(1, ShapeProperty::kHeight, 18.75);
    s.SetColumnWidth(2, 10);
    s.SetColumnWidth(3, 10);
    s.SetRowHeight(3, 30);
    const SimShape& shape = s.shapes()[0];
    EXPECT_EQ(shape.left, c.left) << c.placement;
    EXPECT_EQ(shape.top, c.top) << c.placement;
    EXPECT_EQ(shape.width, c.width) << c.placement;
    EXPECT_EQ(shape.height, c.height) << c.placement;
  }
}

TEST(SheetShapes, ALockedAspectRatioScalesTheOtherSide) {
  SimSheet s;
  s.PastePicture(400, 300);
  s.SetShapeProperty(1, ShapeProperty::kWidth, 200);
  EXPECT_EQ(s.shapes()[0].height, 150);
  s.SetShapeProperty(1, ShapeProperty::kLockAspectRatio, 0);
  s.SetShapeProperty(1, ShapeProperty::kHeight, 10);
  EXPECT_EQ(s.shapes()[0].width, 200);
  EXPECT_NE(ErrorOf([&] { s.SetShapeProperty(2, ShapeProperty::kLeft, 0); }), 0);
  EXPECT_EQ(ErrorOf([&] { s.SetShapeProperty(1, ShapeProperty::kPlacement, 4); }), 1004);
}

// Format codes up to Excel's 255 characters are taken; a longer one is refused as an invalid
// code is, and the cell keeps its format.
TEST(SheetFormat, CodesLongerThan255CharactersAreRefused) {
  SimSheet s;
  const std::wstring longest = L"0" + std::wstring(254, L'0');
  s.SetFormat(CellRef{1, 1}, longest);
  EXPECT_EQ(s.Format(CellRef{1, 1}), longest);
  EXPECT_EQ(ErrorOf([&] { s.SetFormat(CellRef{1, 1}, longest + L"0"); }), 1004);
  EXPECT_EQ(ErrorOf([&] {
              s.Set(CellRef{1, 1}, CellProperty::kNumberFormatLocal,
                    rt::Value::Text(L"\"" + std::wstring(300, L'x') + L"\"0"));
            }),
            1004);
  EXPECT_EQ(ErrorOf([&] { s.SetFormat(CellRef{1, 1}, L"0;0;0;0;0"); }), 1004);
  EXPECT_EQ(s.Format(CellRef{1, 1}), longest);
}

}  // namespace
}  // namespace harumado::sim
