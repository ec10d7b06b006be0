#include "core/columns/emptied_cells.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "platform/spreadsheet_host.h"
#include "runtime/automation_error.h"

namespace harumado::columns {
namespace {

using platform::CellProperty;

// One column of cells. A Formula or Value write of "TRUE" outside the text format becomes the
// logical, as the host reads typed input; writes into refused rows and refused bulk reads fail.
class ColumnSheet : public platform::ExcelSheet {
 public:
  struct Cell {
    rt::Value value;
    std::wstring formula;
    std::wstring format = L"G/標準";
  };

  void Paste() override {}
  void PastePicture() override {}
  int ShapeCount() override { return 0; }
  void SetShapeProperty(int, platform::ShapeProperty, double) override {}
  rt::Value GetCell(std::int32_t row, std::int32_t, CellProperty) override {
    return cells[row].value;
  }
  void SetCell(std::int32_t row, std::int32_t, CellProperty property,
               const rt::Value& value) override {
    ++writes;
    if (refused_rows.count(row) != 0) throw rt::AutomationError(1004);
    Cell& c = cells[row];
    if (property == CellProperty::kNumberFormatLocal) {
      c.format = value.text();
      return;
    }
    const std::wstring& text = value.text();
    c.formula = property == CellProperty::kFormula && !text.empty() && text[0] == L'=' ? text : L"";
    if (c.format != L"@" && text == L"TRUE") {
      c.value = rt::Value::Logical(true);
    } else {
      c.value = text.empty() ? rt::Value() : value;
    }
  }
  std::vector<rt::Value> GetColumnCells(std::int32_t, std::int32_t first_row, std::int32_t last_row,
                                        CellProperty) override {
    if (refuse_reads) throw rt::AutomationError(1004);
    std::vector<rt::Value> out;
    for (std::int32_t r = first_row; r <= last_row; ++r) out.push_back(cells[r].value);
    return out;
  }
  std::int32_t RowCount() override { return 1048576; }
  std::int32_t EndUpRow(std::int32_t, std::int32_t) override { return 1; }
  void SetColumnWidth(std::int32_t, double) override {}
  void AutoFitColumn(std::int32_t) override {}

  std::map<std::int32_t, Cell> cells;
  std::set<std::int32_t> refused_rows;
  bool refuse_reads = false;
  int writes = 0;
};

SavedContent Text(const std::wstring& text) {
  return SaveContent(rt::Value::Text(text), rt::Value::Text(text), rt::Value::Text(L"G/標準"));
}
SavedContent Formula(const std::wstring& formula, const std::wstring& result) {
  return SaveContent(rt::Value::Text(result), rt::Value::Text(formula), rt::Value::Text(L"G/標準"));
}

void EmptyThree(EmptiedCells& emptied) {
  emptied.Empty(1, Text(L"abc"));
  emptied.Empty(2, Text(L"TRUE"));
  emptied.Empty(3, Formula(L"=\"x\"", L"x"));
}

void ExpectGivenBack(ColumnSheet& sheet) {
  EXPECT_EQ(sheet.cells[1].value, rt::Value::Text(L"abc"));
  EXPECT_EQ(sheet.cells[2].value, rt::Value::Text(L"TRUE"));
  EXPECT_EQ(sheet.cells[2].format, L"G/標準");
  EXPECT_EQ(sheet.cells[3].formula, L"=\"x\"");
}

TEST(EmptiedCells, AFailureOnItsWayOutGivesEveryCellBack) {
  ColumnSheet sheet;
  try {
    EmptiedCells emptied(sheet, 1);
    EmptyThree(emptied);
    EXPECT_TRUE(sheet.cells[2].value.is_empty());
    throw rt::AutomationError(1004);  // the fit of the column fails
  } catch (const rt::AutomationError&) {
  }
  ExpectGivenBack(sheet);
}

TEST(EmptiedCells, ATextTheHostReadAsALogicalIsWrittenAgainAsText) {
  ColumnSheet sheet;
  EmptiedCells emptied(sheet, 1);
  EmptyThree(emptied);
  sheet.writes = 0;
  emptied.GiveBackAll();
  ExpectGivenBack(sheet);
  EXPECT_EQ(sheet.writes, 3 + 3);  // one write each, three more for the repaired text
}

TEST(EmptiedCells, WithoutTheReadBackEveryTextIsWrittenAsText) {
  ColumnSheet sheet;
  EmptiedCells emptied(sheet, 1);
  EmptyThree(emptied);
  sheet.refuse_reads = true;
  EXPECT_THROW(emptied.GiveBackAll(), rt::AutomationError);
  ExpectGivenBack(sheet);
}

TEST(EmptiedCells, ACellThatRefusesItsContentDoesNotStopTheOthers) {
  ColumnSheet sheet;
  EmptiedCells emptied(sheet, 1);
  EmptyThree(emptied);
  sheet.refused_rows = {1};
  try {
    emptied.GiveBackAll();
    ADD_FAILURE() << "the refused write is reported";
  } catch (const rt::AutomationError& e) {
    EXPECT_EQ(e.number(), 1004);
  }
  EXPECT_EQ(sheet.cells[2].value, rt::Value::Text(L"TRUE"));
  EXPECT_EQ(sheet.cells[3].formula, L"=\"x\"");
}

TEST(EmptiedCells, ACellThatCouldNotBeEmptiedIsNotWrittenBack) {
  ColumnSheet sheet;
  sheet.cells[1].value = rt::Value::Text(L"abc");
  sheet.refused_rows = {1};
  {
    EmptiedCells emptied(sheet, 1);
    EXPECT_THROW(emptied.Empty(1, Text(L"abc")), rt::AutomationError);
    sheet.writes = 0;
  }
  EXPECT_EQ(sheet.writes, 0);
}

}  // namespace
}  // namespace harumado::columns
