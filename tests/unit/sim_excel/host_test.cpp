#include <gtest/gtest.h>

#include "runtime/automation_error.h"
#include "sim/desktop.h"
#include "sim/excel/sim_excel.h"
#include "support/desktop_workbooks.h"
#include "support/error_of.h"

namespace harumado::sim {
namespace {

using platform::ActiveCellProperty;
using platform::CellProperty;

constexpr std::int32_t kGone = rt::err::kServerUnavailable;
constexpr std::int32_t kRejected = rt::err::kCallRejected;
constexpr std::int32_t kDisconnected = static_cast<std::int32_t>(0x80010108u);

using test_support::ErrorOf;

class HostTest : public testing::Test {
 protected:
  std::wstring Desk(const std::wstring& name) { return test_support::DesktopPath(d.files, name); }
  void PutWorkbook(const std::wstring& name) { test_support::PutDesktopWorkbook(d.files, name); }

  Desktop d;
  SimExcel& excel = d.excel;
};

TEST_F(HostTest, TheActiveObjectIsTheEarliestVisibleInstance) {
  EXPECT_EQ(ErrorOf([&] { excel.GetActiveObject(); }), 429);
  excel.StartInstance(false);
  EXPECT_EQ(ErrorOf([&] { excel.GetActiveObject(); }), 429);
  auto first = excel.StartInstance(true);
  auto second = excel.StartInstance(true);
  EXPECT_NE(first->window(), second->window());
  EXPECT_EQ(excel.GetActiveObject()->Hwnd(), first->window());
  auto created = excel.CreateObject();
  ASSERT_EQ(excel.instances().size(), 4u);
  EXPECT_FALSE(excel.instances().back()->visible());
  EXPECT_EQ(created->Hwnd(), excel.instances().back()->window());
  created->SetVisible(true);
  EXPECT_EQ(excel.GetActiveObject()->Hwnd(), first->window());
}

TEST_F(HostTest, TitlesNameTheActiveWorkbook) {
  PutWorkbook(L"book.xlsx");
  auto app = excel.CreateObject();
  const auto hwnd = app->Hwnd();
  EXPECT_EQ(d.windows.GetWindowText(hwnd, 255), L"Excel");
  auto book = app->OpenWorkbook(Desk(L"book.xlsx"));
  EXPECT_EQ(d.windows.GetWindowText(hwnd, 255), L"book.xlsx - Excel");
  book->Close(false);
  EXPECT_EQ(d.windows.GetWindowText(hwnd, 255), L"Excel");
  app->Quit();
  EXPECT_EQ(d.windows.GetWindowText(hwnd, 255), L"");
  EXPECT_TRUE(excel.instances().empty());
}

TEST_F(HostTest, AddSaveAsAndClose) {
  auto app = excel.CreateObject();
  EXPECT_EQ(ErrorOf([&] { app->OpenWorkbook(Desk(L"missing.xlsx")); }), 1004);
  auto b1 = app->AddWorkbook();
  auto b2 = app->AddWorkbook();
  EXPECT_EQ(b1->Name(), L"Book1");
  EXPECT_EQ(b2->Name(), L"Book2");
  EXPECT_EQ(ErrorOf([&] { b2->SaveAs(Desk(L"x.csv"), 6); }), 1004);
  b2->SaveAs(Desk(L"new.xlsm"), 52);
  EXPECT_EQ(b2->Name(), L"new.xlsm");
  ASSERT_NE(d.files.Find(Desk(L"new.xlsm")), nullptr);
  EXPECT_EQ(d.files.Find(Desk(L"new.xlsm"))->excel_format, 52);
  // An existing file: refused while alerts are shown, overwritten silently without them.
  PutWorkbook(L"taken.xlsb");
  EXPECT_EQ(ErrorOf([&] { b1->SaveAs(Desk(L"taken.xlsb"), 50); }), 1004);
  app->SetDisplayAlerts(false);
  b1->SaveAs(Desk(L"taken.xlsb"), 50);
  EXPECT_EQ(d.files.Find(Desk(L"taken.xlsb"))->excel_format, 50);
  b1->Close(false);
  EXPECT_FALSE(excel.IsWorkbookOpen(L"taken.xlsb"));
  EXPECT_TRUE(excel.IsWorkbookOpen(L"new.xlsm"));
  EXPECT_EQ(ErrorOf([&] { b1->Name(); }), kDisconnected);
}

TEST_F(HostTest, OpeningAnOpenWorkbookActivatesItUnchanged) {
  PutWorkbook(L"a.xlsx");
  PutWorkbook(L"b.xlsx");
  auto app = excel.CreateObject();
  app->OpenWorkbook(Desk(L"a.xlsx"));
  auto sheet = app->ActiveSheet();
  sheet->SetCell(2, 2, CellProperty::kValue, rt::Value::Number(7));
  app->SelectOffset(4, rt::Value::Number(1));
  app->OpenWorkbook(Desk(L"b.xlsx"));
  EXPECT_EQ(app->GetActiveCell(ActiveCellProperty::kRow), 1);
  app->OpenWorkbook(Desk(L"A.XLSX"));
  EXPECT_EQ(excel.instances()[0]->workbooks().size(), 2u);
  EXPECT_EQ(app->GetActiveCell(ActiveCellProperty::kRow), 5);
  EXPECT_EQ(app->GetActiveCell(ActiveCellProperty::kColumn), 2);
  EXPECT_EQ(app->ActiveSheet()->GetCell(2, 2, CellProperty::kValue), rt::Value::Number(7));
}

TEST_F(HostTest, BusyCallsAreRejectedAfterTheBusyWait) {
  excel.StartInstance(true);
  auto app = excel.GetActiveObject();
  excel.SetBusyPolicy(1000);
  excel.gate().SetBusy(2);
  const auto t0 = d.world.now();
  EXPECT_EQ(ErrorOf([&] { app->SetVisible(true); }), kRejected);
  EXPECT_EQ(d.world.now(), t0 + 1000);
  EXPECT_EQ(ErrorOf([&] { excel.GetActiveObject(); }), kRejected);
  EXPECT_EQ(d.world.now(), t0 + 2000);
  EXPECT_EQ(ErrorOf([&] { app->SetVisible(true); }), 0);
  EXPECT_EQ(d.world.now(), t0 + 2000);
  EXPECT_EQ(excel.gate().calls(L"Visible"), 2);
  EXPECT_EQ(excel.gate().calls(L"GetActiveObject"), 2);
}

TEST_F(HostTest, InjectedFaultsHitTheirOperationOnly) {
  excel.StartInstance(true);
  auto app = excel.GetActiveObject();
  const auto kExec = rt::err::kServerExecFailed;
  excel.gate().FailNext(L"CreateObject", kExec, 2);
  excel.gate().FailNext(L"Hwnd", 1004, -1);
  excel.gate().SetBusy(1);
  EXPECT_EQ(ErrorOf([&] { excel.CreateObject(); }), kRejected);  // busy first: no fault used
  EXPECT_EQ(ErrorOf([&] { excel.CreateObject(); }), kExec);
  EXPECT_EQ(ErrorOf([&] { excel.CreateObject(); }), kExec);
  EXPECT_EQ(ErrorOf([&] { excel.CreateObject(); }), 0);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(ErrorOf([&] { app->Hwnd(); }), 1004);
  EXPECT_EQ(ErrorOf([&] { app->SetDisplayAlerts(false); }), 0);
  EXPECT_EQ(excel.gate().calls(L"CreateObject"), 4);
  EXPECT_EQ(excel.gate().calls(L"Hwnd"), 3);
  EXPECT_EQ(excel.instances().size(), 2u);
}

TEST_F(HostTest, ObjectsOfAnEndedInstanceFail) {
  PutWorkbook(L"a.xlsx");
  excel.StartInstance(true);
  auto app = excel.GetActiveObject();
  auto book = app->OpenWorkbook(Desk(L"a.xlsx"));
  auto sheet = app->ActiveSheet();
  auto range = app->RangeSelection();
  excel.QuitAll();
  EXPECT_EQ(ErrorOf([&] { app->Hwnd(); }), kGone);
  EXPECT_EQ(ErrorOf([&] { book->Name(); }), kGone);
  EXPECT_EQ(ErrorOf([&] { sheet->Paste(); }), kGone);
  EXPECT_EQ(ErrorOf([&] { range->Select(); }), kGone);
  EXPECT_EQ(excel.gate().calls(L"Hwnd"), 1);
  EXPECT_EQ(excel.live_objects, 4);
  app.reset();
  book.reset();
  sheet.reset();
  range.reset();
  EXPECT_EQ(excel.live_objects, 0);
}

TEST_F(HostTest, TheGlobalObjectIsBoundOnFirstUseAndKept) {
  auto first = excel.StartInstance(true);
  auto& global = excel.GlobalApplication();
  EXPECT_EQ(global.Hwnd(), first->window());
  // A visible instance started later does not move it, nor does hiding the first one.
  excel.StartInstance(true);
  first->set_visible(false);
  EXPECT_EQ(excel.GlobalApplication().Hwnd(), first->window());
  EXPECT_EQ(&excel.GlobalApplication(), &global);
  EXPECT_EQ(excel.live_objects, 0);
}

TEST_F(HostTest, TheGlobalObjectBindsAfreshOnceItsInstanceHasGone) {
  auto first = excel.StartInstance(true);
  auto& global = excel.GlobalApplication();
  auto app = excel.GetActiveObject();
  app->Quit();
  EXPECT_EQ(ErrorOf([&] { global.Hwnd(); }), kGone);  // the failing call still fails
  auto second = excel.StartInstance(true);
  EXPECT_EQ(excel.GlobalApplication().Hwnd(), second->window());
  // With no instance at all, binding again starts none: the calls keep failing until Excel runs.
  excel.QuitAll();
  EXPECT_EQ(ErrorOf([&] { global.Hwnd(); }), kGone);
  EXPECT_EQ(ErrorOf([&] { excel.GlobalApplication().Hwnd(); }), kGone);
  EXPECT_TRUE(excel.instances().empty());
  auto third = excel.StartInstance(true);
  EXPECT_EQ(excel.GlobalApplication().Hwnd(), third->window());
}

TEST_F(HostTest, TheGlobalObjectCreatedFirstWithNoExcelStartsAHiddenInstance) {
  const auto hwnd = excel.GlobalApplication().Hwnd();
  ASSERT_EQ(excel.instances().size(), 1u);
  EXPECT_EQ(hwnd, excel.instances()[0]->window());
  EXPECT_FALSE(excel.instances()[0]->visible());
}

TEST_F(HostTest, GlobalOtherRebindsTheGlobalObject) {
  auto user = excel.StartInstance(true);
  EXPECT_EQ(excel.GlobalApplication().Hwnd(), user->window());
  excel.StartGlobalOther();
  ASSERT_EQ(excel.instances().size(), 2u);
  const auto other = excel.instances()[1];
  EXPECT_TRUE(other->visible());
  EXPECT_EQ(excel.GlobalApplication().Hwnd(), other->window());
  EXPECT_EQ(excel.GetActiveObject()->Hwnd(), user->window());
  EXPECT_EQ(excel.ActiveWindowHandle(), user->window());
}

TEST_F(HostTest, ClipboardFormatsAndPasting) {
  PutWorkbook(L"a.xlsx");
  excel.StartInstance(true);
  auto app = excel.GetActiveObject();
  app->OpenWorkbook(Desk(L"a.xlsx"));
  auto sheet = app->ActiveSheet();
  EXPECT_EQ(app->ClipboardFormats(), std::vector<int>{});
  EXPECT_EQ(ErrorOf([&] { sheet->Paste(); }), 1004);
  d.clipboard.Set(ClipContent{ClipKind::kText, L"12\t34", 0, 0, false});
  EXPECT_EQ(app->ClipboardFormats(), std::vector<int>{0});
  EXPECT_EQ(ErrorOf([&] { sheet->PastePicture(); }), 1004);
  sheet->Paste();
  EXPECT_EQ(sheet->GetCell(1, 2, CellProperty::kValue), rt::Value::Number(34));
  d.clipboard.Set(ClipContent{ClipKind::kPicture, L"", 400, 300, false});
  EXPECT_EQ(app->ClipboardFormats(), (std::vector<int>{9, 2}));
  app->SelectOffset(2, rt::Value::Text(L"2"));
  sheet->PastePicture();
  ASSERT_EQ(sheet->ShapeCount(), 1);
  const SimShape& shape = excel.ActiveSheet()->shapes()[0];
  EXPECT_EQ(shape.left, 108);
  EXPECT_EQ(shape.top, 37.5);
  EXPECT_EQ(shape.width, 400);
  EXPECT_EQ(shape.height, 300);
  d.clipboard.Set(ClipContent{ClipKind::kOther, L"", 0, 0, false});
  EXPECT_EQ(app->ClipboardFormats(), std::vector<int>{});
  EXPECT_EQ(ErrorOf([&] { sheet->PastePicture(); }), 1004);
}

TEST_F(HostTest, OffsetTakesATextColumnOffsetAndTheSelectionComesBack) {
  excel.StartInstance(true);
  auto app = excel.GetActiveObject();
  EXPECT_EQ(ErrorOf([&] { app->GetActiveCell(ActiveCellProperty::kRow); }), 91);
  EXPECT_EQ(app->ActiveSheet(), nullptr);
  EXPECT_EQ(app->RangeSelection(), nullptr);
  app->AddWorkbook();
  app->SelectOffset(4, rt::Value::Number(4));  // E5
  auto saved = app->RangeSelection();
  app->SelectOffset(0, rt::Value::Text(L"-3"));
  EXPECT_EQ(app->GetActiveCell(ActiveCellProperty::kColumn), 2);
  EXPECT_EQ(ErrorOf([&] { app->SelectOffset(0, rt::Value::Text(L"-2")); }), 1004);
  EXPECT_EQ(ErrorOf([&] { app->SelectOffset(0, rt::Value::Text(L"abc")); }), 13);
  EXPECT_EQ(ErrorOf([&] { app->SelectOffset(-5, rt::Value::Number(0)); }), 1004);
  EXPECT_EQ(app->GetActiveCell(ActiveCellProperty::kColumn), 2);
  saved->Select();
  EXPECT_EQ(app->GetActiveCell(ActiveCellProperty::kRow), 5);
  EXPECT_EQ(app->GetActiveCell(ActiveCellProperty::kColumn), 5);
  EXPECT_EQ(excel.gate().calls(L"Offset"), 5);
}

TEST_F(HostTest, AColumnIsReadInOneCall) {
  excel.StartInstance(true);
  auto app = excel.GetActiveObject();
  app->AddWorkbook();
  auto sheet = app->ActiveSheet();
  sheet->SetCell(1, 1, CellProperty::kValue, rt::Value::Text(L"1,234"));
  sheet->SetCell(3, 1, CellProperty::kValue, rt::Value::Text(L"abc"));
  const int before = excel.gate().calls(L"Cells");
  const auto texts = sheet->GetColumnCells(1, 1, 3, CellProperty::kText);
  const auto formats = sheet->GetColumnCells(1, 1, 3, CellProperty::kNumberFormatLocal);
  EXPECT_EQ(excel.gate().calls(L"Cells"), before + 2);
  EXPECT_EQ(texts, (std::vector<rt::Value>{rt::Value::Text(L"1,234"), rt::Value::Text(L""),
                                           rt::Value::Text(L"abc")}));
  EXPECT_EQ(formats[0], rt::Value::Text(L"#,##0"));
  EXPECT_EQ(ErrorOf([&] { sheet->GetColumnCells(1, 0, 3, CellProperty::kValue); }), 1004);
}

}  // namespace
}  // namespace harumado::sim
