// The object model's own rules: addresses, member names and arguments, and the wire's checks.
#include "automation/model/model.h"

#include <gtest/gtest.h>

#include "automation/excel_members.h"
#include "automation/model/in_process_wire.h"
#include "automation/model/model_support.h"
#include "runtime/automation_error.h"
#include "sim/desktop.h"
#include "support/error_of.h"

namespace harumado::automation::model {
namespace {

using test_support::ErrorOf;

TEST(AddressTest, A1AddressesOfCellsAndBlocks) {
  struct Case {
    const wchar_t* address;
    std::optional<Block> block;
  };
  const Case cases[] = {
      {L"A1", Block{1, 1, 1, 1}},
      {L"c2:c9", Block{2, 3, 9, 3}},
      {L"$AB$10:$AB$12", Block{10, 28, 12, 28}},
      {L"XFD1048576", Block{1048576, 16384, 1048576, 16384}},
      {L"B9:A2", Block{2, 1, 9, 2}},  // corners in either order
      {L"XFE1", std::nullopt},
      {L"A0", std::nullopt},
      {L"A1048577", std::nullopt},
      {L"1A", std::nullopt},
      {L"A1:", std::nullopt},
      {L"", std::nullopt},
      {L"A1 ", std::nullopt},
  };
  for (const auto& c : cases) {
    const auto block = ParseAddress(c.address);
    ASSERT_EQ(block.has_value(), c.block.has_value()) << c.address;
    if (!block) continue;
    EXPECT_EQ(block->first_row, c.block->first_row) << c.address;
    EXPECT_EQ(block->first_column, c.block->first_column) << c.address;
    EXPECT_EQ(block->last_row, c.block->last_row) << c.address;
    EXPECT_EQ(block->last_column, c.block->last_column) << c.address;
  }
}

class ModelTest : public testing::Test {
 protected:
  ModelTest() {
    d.excel.StartInstance(true);
    d.files.Put(L"C:\\Users\\user\\Desktop\\b.xlsx", sim::SimFile{"PK", 51, false});
    auto app = d.excel.GetActiveObject();
    app->OpenWorkbook(L"C:\\Users\\user\\Desktop\\b.xlsx");
    application = ServeApplication(std::move(app));
    sheet = std::dynamic_pointer_cast<ModelObject>(
        application->Handle(L"ActiveSheet", CallKind::kGet, {}).object());
  }
  static Variant N(double d) { return rt::Value::Number(d); }

  sim::Desktop d;
  ModelRef application;
  ModelRef sheet;
};

TEST_F(ModelTest, MemberNamesIgnoreCase) {
  d.excel.ActiveSheet()->Enter({2, 3}, L"8");
  const Variant args[] = {N(2), N(3)};
  auto cell = sheet->Handle(L"cells", CallKind::kGet, args).object();
  EXPECT_EQ(cell->Get({L"Range", L"VALUE"}).value(), rt::Value::Number(8));
  EXPECT_EQ(cell->Get({L"Range", L"row"}).value(), rt::Value::Number(2));
}

TEST_F(ModelTest, CollectionsPassTheirArgumentsToItem) {
  d.excel.ActiveSheet()->Enter({4, 1}, L"x");
  auto cells = sheet->Handle(L"Cells", CallKind::kGet, {}).object();
  auto cell = cells->Get({L"Range", L"Item"}, {N(4), N(1)}).object();
  EXPECT_EQ(cell->Get(excel::range::kValue).value(), rt::Value::Text(L"x"));
  const Variant one[] = {rt::Value::Text(L"A4")};
  auto by_address = sheet->Handle(L"Range", CallKind::kGet, one).object();
  EXPECT_EQ(by_address->Get(excel::range::kValue).value(), rt::Value::Text(L"x"));
}

TEST_F(ModelTest, UnknownMembersAndWrongArgumentCounts) {
  EXPECT_EQ(ErrorOf([&] { application->Handle(L"Calculate", CallKind::kMethod, {}); }), 438);
  // Visible can be written, not read.
  EXPECT_EQ(ErrorOf([&] { application->Handle(L"Visible", CallKind::kGet, {}); }), 438);
  const Variant one[] = {N(1)};
  EXPECT_EQ(ErrorOf([&] { sheet->Handle(L"Cells", CallKind::kGet, one); }), 450);
  EXPECT_EQ(ErrorOf([&] { application->Handle(L"Hwnd", CallKind::kGet, one); }), 450);
  const Variant bad[] = {rt::Value::Text(L"A1:B")};
  EXPECT_EQ(ErrorOf([&] { sheet->Handle(L"Range", CallKind::kGet, bad); }), 1004);
  const Variant down[] = {N(2), N(1)};
  auto cell = sheet->Handle(L"Cells", CallKind::kGet, down).object();
  EXPECT_EQ(ErrorOf([&] { cell->Get(excel::range::kEnd, {N(-4121)}); }), 1004);  // xlDown
}

TEST_F(ModelTest, BlocksReadAsArraysOrAsTheSharedValue) {
  sim::SimSheet& s = *d.excel.ActiveSheet();
  s.Enter({1, 1}, L"1");
  s.Enter({1, 2}, L"2");
  s.Enter({2, 2}, L"4");
  const Variant address[] = {rt::Value::Text(L"A1:B2")};
  auto block = sheet->Handle(L"Range", CallKind::kGet, address).object();
  const Variant values = block->Get(excel::range::kValue);
  ASSERT_TRUE(values.is_array());
  const Array& a = values.array();
  EXPECT_EQ(a.dimensions, 2);
  EXPECT_EQ(a.rows, 2);
  EXPECT_EQ(a.columns, 2);
  EXPECT_EQ(a.at(0, 0), rt::Value::Number(1));
  EXPECT_EQ(a.at(0, 1), rt::Value::Number(2));
  EXPECT_EQ(a.at(1, 0), rt::Value());
  EXPECT_EQ(a.at(1, 1), rt::Value::Number(4));
  EXPECT_EQ(block->Get(excel::range::kNumberFormatLocal).value(), rt::Value::Text(L"G/標準"));
  EXPECT_TRUE(block->Get(excel::range::kText).is_null());
  EXPECT_EQ(block->Get(excel::range::kCount).value(), rt::Value::Number(4));
}

// A block of one column takes an array of its shape (each cell its own value, as a write of that
// cell takes it) or one value for every cell; the empty text empties the block. Each write is one
// host operation, and an array of another shape is refused before any cell changes.
TEST_F(ModelTest, BlocksTakeAnArrayOfTheirShapeOrOneValue) {
  sim::SimSheet& s = *d.excel.ActiveSheet();
  for (int row = 1; row <= 3; ++row) s.Enter({row, 2}, L"old");
  const Variant address[] = {rt::Value::Text(L"B1:B3")};
  auto block = sheet->Handle(L"Range", CallKind::kGet, address).object();

  Array column;
  column.dimensions = 2;
  column.rows = 3;
  column.columns = 1;
  column.items = {rt::Value::Text(L"=\"x\""), rt::Value::Text(L"1,234"), rt::Value::Number(0.1)};
  block->Put(excel::range::kFormula, column);
  EXPECT_EQ(s.Formula({1, 2}), L"=\"x\"");
  EXPECT_EQ(s.Value({2, 2}), rt::Value::Number(1234));
  EXPECT_EQ(s.Format({2, 2}), L"#,##0");
  EXPECT_EQ(s.Value({3, 2}), rt::Value::Number(0.1));
  EXPECT_EQ(d.excel.gate().calls(L"WriteCells"), 1);

  Array wrong = column;
  wrong.rows = 2;
  wrong.items.pop_back();
  EXPECT_EQ(ErrorOf([&] { block->Put(excel::range::kValue, wrong); }), 13);
  EXPECT_EQ(s.Value({2, 2}), rt::Value::Number(1234));

  block->Put(excel::range::kValue, rt::Value::Text(L""));
  for (int row = 1; row <= 3; ++row) EXPECT_TRUE(s.IsBlank({row, 2})) << row;
  EXPECT_EQ(d.excel.gate().calls(L"EmptyCells"), 1);

  s.Protect();
  EXPECT_EQ(ErrorOf([&] { block->Put(excel::range::kValue, column); }), 1004);
  EXPECT_TRUE(s.IsBlank({1, 2}));
}

TEST_F(ModelTest, TheWireChecksTheInterfaceAndCarriesObjectsAndErrors) {
  WireStats stats;
  stats.logging = true;
  ObjectRef app = ConnectInProcess(application, stats);
  // The workbook's member asked of the application.
  EXPECT_EQ(ErrorOf([&] { app->Get(excel::workbook::kName); }), 438);
  auto ws = app->GetObject(excel::application::kActiveSheet);
  EXPECT_EQ(ErrorOf([&] {
              ws->Get(excel::worksheet::kCells, {N(0), N(1)}).object()->Get(excel::range::kValue);
            }),
            1004);
  EXPECT_EQ(stats.calls, 4);
  EXPECT_EQ(stats.log, (std::vector<std::wstring>{L"Workbook.Name", L"Application.ActiveSheet",
                                                  L"Worksheet.Cells", L"Range.Value"}));
}

}  // namespace
}  // namespace harumado::automation::model
