// The late-bound host against the simulated spreadsheet through the object model and the
// in-process wire: every host operation is compared with what the simulated Excel then holds,
// and no object stays held after an operation.
#include "automation/late_bound_host.h"

#include <gtest/gtest.h>

#include "runtime/automation_error.h"
#include "sim/automation/loopback_runtime.h"
#include "sim/desktop.h"
#include "support/desktop_workbooks.h"
#include "support/error_of.h"

namespace harumado::automation {
namespace {

using platform::ActiveCellProperty;
using platform::CellProperty;
using platform::ShapeProperty;

using test_support::ErrorOf;

class LateBoundHostTest : public testing::Test {
 protected:
  std::wstring Desk(const std::wstring& name) { return test_support::DesktopPath(d.files, name); }
  void PutWorkbook(const std::wstring& name) { test_support::PutDesktopWorkbook(d.files, name); }
  // A visible Excel with book.xlsx open; returns its sheet.
  sim::SimSheet& OpenBook() {
    d.excel.StartInstance(true);
    PutWorkbook(L"book.xlsx");
    host.GetActiveObject()->OpenWorkbook(Desk(L"book.xlsx"));
    return *d.excel.ActiveSheet();
  }
  std::unique_ptr<platform::ExcelSheet> Sheet() { return host.GetActiveObject()->ActiveSheet(); }

  void TearDown() override { EXPECT_EQ(d.excel.live_objects, 0) << "objects left held"; }

  sim::Desktop d;
  sim::LoopbackRuntime runtime{d.excel};
  LateBoundHost host{runtime};
};

TEST_F(LateBoundHostTest, AttachingFindsTheEarliestVisibleInstance) {
  EXPECT_EQ(ErrorOf([&] { host.GetActiveObject(); }), 429);
  d.excel.StartInstance(false);
  EXPECT_EQ(ErrorOf([&] { host.GetActiveObject(); }), 429);
  auto first = d.excel.StartInstance(true);
  d.excel.StartInstance(true);
  EXPECT_EQ(host.GetActiveObject()->Hwnd(), first->window());
  EXPECT_EQ(d.excel.gate().calls(L"GetActiveObject"), 3);
}

TEST_F(LateBoundHostTest, CreatingStartsAHiddenInstanceThatCanBeShownAndQuit) {
  auto app = host.CreateObject();
  ASSERT_EQ(d.excel.instances().size(), 1u);
  const auto instance = d.excel.instances().front();
  EXPECT_FALSE(instance->visible());
  app->SetVisible(true);
  EXPECT_TRUE(instance->visible());
  app->SetDisplayAlerts(false);
  EXPECT_FALSE(instance->display_alerts());
  app->SetDisplayAlerts(true);
  EXPECT_TRUE(instance->display_alerts());
  app->Quit();
  EXPECT_TRUE(d.excel.instances().empty());
  // The server is gone: its old objects fail as a closed Excel's do.
  EXPECT_EQ(ErrorOf([&] { app->Hwnd(); }), rt::err::kServerUnavailable);
}

TEST_F(LateBoundHostTest, WorkbooksOpenAddSaveAndClose) {
  auto app = host.CreateObject();
  EXPECT_EQ(ErrorOf([&] { app->OpenWorkbook(Desk(L"missing.xlsx")); }), 1004);
  auto added = app->AddWorkbook();
  EXPECT_EQ(added->Name(), L"Book1");
  app->SetDisplayAlerts(false);
  added->SaveAs(Desk(L"新しい.xlsm"), 52);
  ASSERT_NE(d.files.Find(Desk(L"新しい.xlsm")), nullptr);
  EXPECT_EQ(d.files.Find(Desk(L"新しい.xlsm"))->excel_format, 52);
  EXPECT_EQ(added->Name(), L"新しい.xlsm");
  EXPECT_EQ(ErrorOf([&] { added->SaveAs(Desk(L"x.csv"), 6); }), 1004);
  added->Close(false);
  EXPECT_FALSE(d.excel.IsWorkbookOpen(L"新しい.xlsm"));
  // Used after it was closed: the object has disconnected.
  EXPECT_EQ(ErrorOf([&] { added->Name(); }), static_cast<std::int32_t>(0x80010108u));
  auto opened = app->OpenWorkbook(Desk(L"新しい.xlsm"));
  EXPECT_EQ(opened->Name(), L"新しい.xlsm");
  EXPECT_TRUE(d.excel.IsWorkbookOpen(L"新しい.xlsm"));
}

TEST_F(LateBoundHostTest, WindowHandleAndTitle) {
  auto instance = d.excel.StartInstance(true);
  auto app = host.GetActiveObject();
  EXPECT_EQ(app->Hwnd(), instance->window());
  EXPECT_EQ(d.windows.GetWindowText(app->Hwnd(), 255), L"Excel");
}

TEST_F(LateBoundHostTest, ClipboardFormatsFollowTheClipboard) {
  d.excel.StartInstance(true);
  auto app = host.GetActiveObject();
  EXPECT_EQ(app->ClipboardFormats(), std::vector<int>{});
  d.clipboard.Set(sim::ClipContent{sim::ClipKind::kText, L"12", 0, 0, false});
  EXPECT_EQ(app->ClipboardFormats(), std::vector<int>{0});
  d.clipboard.Set(sim::ClipContent{sim::ClipKind::kPicture, L"", 40, 30, false});
  EXPECT_EQ(app->ClipboardFormats(), (std::vector<int>{9, 2}));
}

TEST_F(LateBoundHostTest, NoWorkbookMeansNoSheetNoWindowAndNoActiveCell) {
  d.excel.StartInstance(true);
  auto app = host.GetActiveObject();
  EXPECT_EQ(app->ActiveSheet(), nullptr);
  EXPECT_EQ(app->RangeSelection(), nullptr);
  EXPECT_EQ(ErrorOf([&] { app->GetActiveCell(ActiveCellProperty::kRow); }), 91);
  EXPECT_EQ(ErrorOf([&] { app->SelectOffset(0, rt::Value::Number(1)); }), 91);
}

TEST_F(LateBoundHostTest, TextIsPastedAtTheActiveCell) {
  sim::SimSheet& sheet = OpenBook();
  sheet.Select(sim::CellRef{3, 2});
  d.clipboard.Set(sim::ClipContent{sim::ClipKind::kText, L"1,234\t東京", 0, 0, false});
  Sheet()->Paste();
  EXPECT_EQ(sheet.Value({3, 2}), rt::Value::Number(1234));
  EXPECT_EQ(sheet.Value({3, 3}), rt::Value::Text(L"東京"));
  d.clipboard.Set(sim::ClipContent{});
  EXPECT_EQ(ErrorOf([&] { Sheet()->Paste(); }), 1004);
}

TEST_F(LateBoundHostTest, PicturesArePastedAndPlaced) {
  sim::SimSheet& sheet = OpenBook();
  auto s = Sheet();
  EXPECT_EQ(ErrorOf([&] { s->PastePicture(); }), 1004);  // nothing to paste
  d.clipboard.Set(sim::ClipContent{sim::ClipKind::kPicture, L"", 120, 90, false});
  s->PastePicture();
  EXPECT_EQ(s->ShapeCount(), 1);
  struct Case {
    ShapeProperty property;
    double value;
  };
  const Case cases[] = {{ShapeProperty::kLockAspectRatio, 0}, {ShapeProperty::kPlacement, 1},
                        {ShapeProperty::kLeft, 54},           {ShapeProperty::kTop, 18.75},
                        {ShapeProperty::kWidth, 60.5},        {ShapeProperty::kHeight, 20}};
  for (const auto& c : cases) s->SetShapeProperty(1, c.property, c.value);
  const sim::SimShape& shape = sheet.shapes().at(0);
  EXPECT_EQ(shape.lock_aspect_ratio, 0);
  EXPECT_EQ(shape.placement, 1);
  EXPECT_DOUBLE_EQ(shape.left, 54);
  EXPECT_DOUBLE_EQ(shape.top, 18.75);
  EXPECT_DOUBLE_EQ(shape.width, 60.5);
  EXPECT_DOUBLE_EQ(shape.height, 20);
  EXPECT_EQ(ErrorOf([&] { s->SetShapeProperty(2, ShapeProperty::kLeft, 1); }),
            static_cast<std::int32_t>(0x80070057u));
}

TEST_F(LateBoundHostTest, CellsAreReadAndWrittenByProperty) {
  sim::SimSheet& sheet = OpenBook();
  sheet.Enter({2, 1}, L"1234.5");
  sheet.SetFormat({2, 1}, L"#,##0.00");
  auto s = Sheet();
  EXPECT_EQ(s->GetCell(2, 1, CellProperty::kValue), rt::Value::Number(1234.5));
  EXPECT_EQ(s->GetCell(2, 1, CellProperty::kText), rt::Value::Text(L"1,234.50"));
  EXPECT_EQ(s->GetCell(2, 1, CellProperty::kNumberFormatLocal), rt::Value::Text(L"#,##0.00"));
  EXPECT_EQ(s->GetCell(2, 1, CellProperty::kFormula), rt::Value::Text(L"1234.5"));
  EXPECT_EQ(s->GetCell(9, 9, CellProperty::kValue), rt::Value());

  s->SetCell(4, 2, CellProperty::kValue, rt::Value::Number(7));
  s->SetCell(4, 2, CellProperty::kNumberFormatLocal, rt::Value::Text(L"\\###0"));
  EXPECT_EQ(sheet.Value({4, 2}), rt::Value::Number(7));
  EXPECT_EQ(sheet.Format({4, 2}), L"\\###0");
  s->SetCell(5, 2, CellProperty::kFormula, rt::Value::Text(L"ｱｲｳ"));
  EXPECT_EQ(sheet.Value({5, 2}), rt::Value::Text(L"ｱｲｳ"));
  s->SetCell(5, 2, CellProperty::kValue, rt::Value::Text(L""));
  EXPECT_TRUE(sheet.IsBlank({5, 2}));
  EXPECT_EQ(ErrorOf([&] { s->GetCell(0, 1, CellProperty::kValue); }), 1004);
  sheet.Protect();
  EXPECT_EQ(ErrorOf([&] { s->SetCell(4, 2, CellProperty::kValue, rt::Value::Number(1)); }), 1004);
}

TEST_F(LateBoundHostTest, AColumnBlockIsReadInOneCall) {
  sim::SimSheet& sheet = OpenBook();
  sheet.Enter({1, 3}, L"10");
  sheet.Enter({2, 3}, L"abc");
  sheet.Enter({4, 3}, L"2.5");
  sheet.SetFormat({1, 3}, L"0.0");
  auto s = Sheet();
  const std::int64_t before = runtime.wire().calls;
  const auto values = s->GetColumnCells(3, 1, 4, CellProperty::kValue);
  EXPECT_EQ(runtime.wire().calls - before, 2);  // Range(address), Value
  EXPECT_EQ(values, (std::vector<rt::Value>{rt::Value::Number(10), rt::Value::Text(L"abc"),
                                            rt::Value(), rt::Value::Number(2.5)}));
  EXPECT_EQ(s->GetColumnCells(3, 1, 4, CellProperty::kFormula),
            (std::vector<rt::Value>{rt::Value::Text(L"10"), rt::Value::Text(L"abc"),
                                    rt::Value::Text(L""), rt::Value::Text(L"2.5")}));
  // One row reads as one value.
  EXPECT_EQ(s->GetColumnCells(3, 4, 4, CellProperty::kValue),
            std::vector<rt::Value>{rt::Value::Number(2.5)});
  EXPECT_EQ(ErrorOf([&] { s->GetColumnCells(3, 4, 1, CellProperty::kValue); }), 1004);
  EXPECT_EQ(ErrorOf([&] { s->GetColumnCells(0, 1, 2, CellProperty::kValue); }), 1004);
}

// Formats and texts come back per cell whether the cells share them or not.
TEST_F(LateBoundHostTest, ColumnFormatsAndTextsSharedOrMixed) {
  sim::SimSheet& sheet = OpenBook();
  for (int row = 1; row <= 3; ++row) sheet.Enter({row, 1}, L"5");
  auto s = Sheet();
  const std::int64_t before = runtime.wire().calls;
  EXPECT_EQ(s->GetColumnCells(1, 1, 3, CellProperty::kNumberFormatLocal),
            std::vector<rt::Value>(3, rt::Value::Text(L"G/標準")));
  EXPECT_EQ(runtime.wire().calls - before, 2);
  sheet.SetFormat({2, 1}, L"0.00");
  EXPECT_EQ(s->GetColumnCells(1, 1, 3, CellProperty::kNumberFormatLocal),
            (std::vector<rt::Value>{rt::Value::Text(L"G/標準"), rt::Value::Text(L"0.00"),
                                    rt::Value::Text(L"G/標準")}));
  EXPECT_EQ(s->GetColumnCells(1, 1, 3, CellProperty::kText),
            (std::vector<rt::Value>{rt::Value::Text(L"5"), rt::Value::Text(L"5.00"),
                                    rt::Value::Text(L"5")}));
}

// Runs of one format cost a few calls each, however long they are.
TEST_F(LateBoundHostTest, MixedFormatsAreReadInRuns) {
  sim::SimSheet& sheet = OpenBook();
  const int rows = 1000;
  for (int row = 1; row <= rows; ++row) {
    sheet.Enter({row, 2}, L"1");
    if (row > 1 && row <= 600) sheet.SetFormat({row, 2}, L"0.0");
  }
  auto s = Sheet();
  const std::int64_t before = runtime.wire().calls;
  const auto formats = s->GetColumnCells(2, 1, rows, CellProperty::kNumberFormatLocal);
  const std::int64_t calls = runtime.wire().calls - before;
  ASSERT_EQ(formats.size(), static_cast<std::size_t>(rows));
  for (int row = 1; row <= rows; ++row) {
    EXPECT_EQ(formats[row - 1], rt::Value::Text(row > 1 && row <= 600 ? L"0.0" : L"G/標準")) << row;
  }
  EXPECT_LT(calls, 80);
}

TEST_F(LateBoundHostTest, LastRowsColumnWidthsAndFitting) {
  sim::SimSheet& sheet = OpenBook();
  sheet.Enter({1, 2}, L"1");
  sheet.Enter({7, 2}, L"123456789012");
  auto s = Sheet();
  EXPECT_EQ(s->RowCount(), sim::SimSheet::kRows);
  EXPECT_EQ(s->EndUpRow(s->RowCount(), 2), 7);
  EXPECT_EQ(s->EndUpRow(s->RowCount(), 4), 1);
  s->SetColumnWidth(2, 3);
  EXPECT_DOUBLE_EQ(sheet.ColumnWidth(2), 3);
  s->AutoFitColumn(2);
  EXPECT_GT(sheet.ColumnWidth(2), 10);
  EXPECT_EQ(ErrorOf([&] { s->SetColumnWidth(0, 3); }), 1004);
}

TEST_F(LateBoundHostTest, TheActiveCellAndItsOffsets) {
  sim::SimSheet& sheet = OpenBook();
  sheet.Select({3, 2});
  auto app = host.GetActiveObject();
  struct Case {
    ActiveCellProperty property;
    double expected;
  };
  const Case cases[] = {{ActiveCellProperty::kRow, 3},
                        {ActiveCellProperty::kColumn, 2},
                        {ActiveCellProperty::kLeft, sheet.CellLeft(2)},
                        {ActiveCellProperty::kTop, sheet.CellTop(3)},
                        {ActiveCellProperty::kWidth, sheet.CellWidth(2)},
                        {ActiveCellProperty::kHeight, sheet.CellHeight(3)}};
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(app->GetActiveCell(c.property), c.expected);
  app->SelectOffset(0, rt::Value::Number(1));
  EXPECT_EQ(sheet.active(), (sim::CellRef{3, 3}));
  app->SelectOffset(1, rt::Value::Text(L"-2"));  // a text that reads as a number
  EXPECT_EQ(sheet.active(), (sim::CellRef{4, 1}));
  EXPECT_EQ(ErrorOf([&] { app->SelectOffset(0, rt::Value::Number(-1)); }), 1004);
  EXPECT_EQ(ErrorOf([&] { app->SelectOffset(0, rt::Value::Text(L"x")); }), 13);
  EXPECT_EQ(sheet.active(), (sim::CellRef{4, 1}));
}

TEST_F(LateBoundHostTest, TheSelectionIsSelectedAgain) {
  sim::SimSheet& sheet = OpenBook();
  sheet.SelectBlock(sim::CellBlock{{2, 2}, {4, 3}});
  auto app = host.GetActiveObject();
  auto selection = app->RangeSelection();
  ASSERT_NE(selection, nullptr);
  sheet.Select({9, 9});
  selection->Select();
  EXPECT_EQ(sheet.selection(), (sim::CellBlock{{2, 2}, {4, 3}}));
  EXPECT_EQ(sheet.active(), (sim::CellRef{2, 2}));
}

// A busy Excel rejects the call after the client's busy wait.
TEST_F(LateBoundHostTest, ABusyExcelFailsAfterTheBusyWait) {
  d.excel.StartInstance(true);
  auto app = host.GetActiveObject();
  host.SetBusyPolicy(1000);
  d.excel.gate().SetBusy(1);
  const auto start = d.world.now();
  EXPECT_EQ(ErrorOf([&] { app->Hwnd(); }), rt::err::kCallRejected);
  EXPECT_EQ(d.world.now() - start, 1000);
  EXPECT_NE(app->Hwnd(), 0);
}

TEST_F(LateBoundHostTest, ExcelsOwnErrorsKeepTheirNumbers) {
  OpenBook();
  const std::int32_t errors[] = {1004, 91, 13, static_cast<std::int32_t>(0x80080005u),
                                 static_cast<std::int32_t>(0x80010001u)};
  for (const std::int32_t error : errors) {
    d.excel.gate().FailNext(L"Name", error, 1);
    auto app = host.GetActiveObject();
    auto book = app->OpenWorkbook(Desk(L"book.xlsx"));
    EXPECT_EQ(ErrorOf([&] { book->Name(); }), error);
  }
}

}  // namespace
}  // namespace harumado::automation
