// Fitting a column on the simulated Excel: texts next to each other are emptied and given back a
// run at a time, and a failure of any host call in the middle leaves every cell as it was.
#include "core/columns/fit_column.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/spreadsheet_host.h"
#include "runtime/automation_error.h"
#include "sim/desktop.h"

namespace harumado::columns {
namespace {

using platform::CellProperty;

// The host calls that fitting makes on the sheet.
enum class Call { kNone, kEmptyRun, kWriteRun, kRead, kCellWrite, kWidth, kAutoFit };

// Passes every call on to the simulated sheet, except the n-th call of one kind (counted from 1),
// which fails with 1004 before it reaches the host.
class FailingSheet : public platform::ExcelSheet {
 public:
  FailingSheet(platform::ExcelSheet& inner, Call fails, int nth)
      : inner_(inner), fails_(fails), nth_(nth) {}

  void Paste() override { inner_.Paste(); }
  void PastePicture() override { inner_.PastePicture(); }
  int ShapeCount() override { return inner_.ShapeCount(); }
  void SetShapeProperty(int index, platform::ShapeProperty property, double value) override {
    inner_.SetShapeProperty(index, property, value);
  }
  rt::Value GetCell(std::int32_t row, std::int32_t column, CellProperty property) override {
    return inner_.GetCell(row, column, property);
  }
  void SetCell(std::int32_t row, std::int32_t column, CellProperty property,
               const rt::Value& value) override {
    Count(Call::kCellWrite);
    inner_.SetCell(row, column, property, value);
  }
  std::vector<rt::Value> GetColumnCells(std::int32_t column, std::int32_t first_row,
                                        std::int32_t last_row, CellProperty property) override {
    Count(Call::kRead);
    return inner_.GetColumnCells(column, first_row, last_row, property);
  }
  void EmptyColumnCells(std::int32_t column, std::int32_t first_row,
                        std::int32_t last_row) override {
    Count(Call::kEmptyRun);
    inner_.EmptyColumnCells(column, first_row, last_row);
  }
  void SetColumnCells(std::int32_t column, std::int32_t first_row, CellProperty property,
                      std::span<const rt::Value> values) override {
    Count(Call::kWriteRun);
    inner_.SetColumnCells(column, first_row, property, values);
  }
  std::int32_t RowCount() override { return inner_.RowCount(); }
  std::int32_t EndUpRow(std::int32_t row, std::int32_t column) override {
    return inner_.EndUpRow(row, column);
  }
  void SetColumnWidth(std::int32_t column, double width) override {
    Count(Call::kWidth);
    inner_.SetColumnWidth(column, width);
  }
  void AutoFitColumn(std::int32_t column) override {
    Count(Call::kAutoFit);
    inner_.AutoFitColumn(column);
  }

 private:
  void Count(Call call) {
    if (call == fails_ && ++seen_ == nth_) throw rt::AutomationError(1004);
  }

  platform::ExcelSheet& inner_;
  Call fails_;
  int nth_;
  int seen_ = 0;
};

struct CellState {
  rt::Value value;
  std::wstring formula;
  std::wstring format;
  bool operator==(const CellState&) const = default;
};

constexpr std::int32_t kRows = 11;

// Column A: numbers that decide the width, and between them a run of texts, a formula and
// constants that count as text (rows 2 to 6), a run of two texts (8, 9) of which the first starts
// with "=" under the text format, and a text alone (11).
struct FittedSheet {
  FittedSheet() {
    auto instance = desktop.excel.StartInstance(true);
    sim::SimSheet& s = instance->Add()->active_sheet();
    sheet = &s;
    s.Enter({1, 1}, L"12,345");
    s.Enter({2, 1}, L"abc");
    s.SetFormat({3, 1}, L"@");
    s.Enter({3, 1}, L"TRUE");
    s.SetFormat({3, 1}, L"G/標準");
    s.EnterFormula({4, 1}, L"=\"x\"&\"y\"", rt::Value::Text(L"xy"));
    s.Enter({5, 1}, L"-5");
    s.Enter({6, 1}, L"2026/1/5");
    s.Enter({7, 1}, L"99");
    s.SetFormat({8, 1}, L"@");
    s.Enter({8, 1}, L"=text");
    s.Enter({9, 1}, L"Smith, John");
    s.Enter({10, 1}, L"1,000");
    s.SetFormat({11, 1}, L"@");
    s.Enter({11, 1}, L"(123)");
    before = Column();
    host_sheet = desktop.excel.GetActiveObject()->ActiveSheet();
  }

  std::vector<CellState> Column() const {
    std::vector<CellState> cells;
    for (std::int32_t row = 1; row <= kRows; ++row) {
      const sim::CellRef cell{row, 1};
      cells.push_back({sheet->Value(cell), sheet->Formula(cell), sheet->Format(cell)});
    }
    return cells;
  }

  // Every cell as before, but for the row `except` (0: none).
  void ExpectAsBefore(const std::string& what, std::int32_t except = 0) const {
    const std::vector<CellState> now = Column();
    for (std::size_t i = 0; i < now.size(); ++i) {
      if (static_cast<std::int32_t>(i) + 1 == except) continue;
      EXPECT_EQ(now[i].value, before[i].value) << what << ": row " << i + 1;
      EXPECT_EQ(now[i].formula, before[i].formula) << what << ": row " << i + 1;
      EXPECT_EQ(now[i].format, before[i].format) << what << ": row " << i + 1;
    }
  }

  sim::Desktop desktop;
  sim::SimSheet* sheet = nullptr;
  std::vector<CellState> before;
  std::unique_ptr<platform::ExcelSheet> host_sheet;
};

TEST(FitColumn, EachRunOfTextsIsEmptiedAndGivenBackInOneCall) {
  FittedSheet fitted;
  FitColumn(*fitted.host_sheet, 1, sim::SimSheet::kRows);
  fitted.ExpectAsBefore("after the fit");
  EXPECT_EQ(fitted.sheet->ColumnWidth(1), 6);  // "12,345"
  // Rows 2-6 and 8-9 are emptied with one call each, row 11 by a cell write.
  EXPECT_EQ(fitted.desktop.excel.gate().calls(L"EmptyCells"), 2);
  // Given back: the texts and the formula of rows 2-4 through Formula, the constants of rows 5-6
  // as values, rows 8-9 through Formula; row 11 by a cell write.
  EXPECT_EQ(fitted.desktop.excel.gate().calls(L"WriteCells"), 3);
}

// A failing call ends the column; every emptied cell has its content back before the failure is
// reported. The one exception: a text that the host took for a logical and that cannot be
// written again as a text keeps what the host made of it (every other cell is as before).
TEST(FitColumn, AFailureInTheMiddleLosesNothing) {
  const struct {
    Call call;
    int nth;
    const char* what;
    std::int32_t except = 0;
  } cases[] = {
      {Call::kEmptyRun, 1, "emptying the first run"},
      {Call::kEmptyRun, 2, "emptying the second run"},
      {Call::kCellWrite, 1, "emptying the text alone"},
      {Call::kWidth, 1, "setting the width"},
      {Call::kAutoFit, 1, "fitting"},
      {Call::kWriteRun, 1, "giving back the texts and the formula"},
      {Call::kWriteRun, 2, "giving back the constants"},
      {Call::kWriteRun, 3, "giving back the second run"},
      {Call::kCellWrite, 2, "giving back the text alone"},
      {Call::kRead, 4, "reading the texts back"},
      {Call::kCellWrite, 3, "writing a text again as text", 3},
  };
  for (const auto& c : cases) {
    FittedSheet fitted;
    FailingSheet failing(*fitted.host_sheet, c.call, c.nth);
    try {
      FitColumn(failing, 1, sim::SimSheet::kRows);
      ADD_FAILURE() << c.what << ": the failure is reported";
    } catch (const rt::AutomationError& e) {
      EXPECT_EQ(e.number(), 1004) << c.what;
    }
    fitted.ExpectAsBefore(c.what, c.except);
  }
}

}  // namespace
}  // namespace harumado::columns
