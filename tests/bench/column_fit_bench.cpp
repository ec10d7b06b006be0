// What column fitting costs on sheets of 1,000, 10,000 and 100,000 used rows (a mixed sheet, one
// of numbers only, and a list of names beside numbers): the host calls
// (Excel operations, by the simulated Excel's call counters) and the time of one run of
// AutoFitColumns, beside the same fit made cell by cell (every cell reached by its own call).
// Against a real Excel every host call crosses to another process, about 1 ms each; "est. s at 1
// ms/call" gives that cost of the calls alone.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/app/form1.h"
#include "core/app/program.h"
#include "core/columns/module4.h"
#include "core/columns/numeric_text.h"
#include "runtime/conversions.h"
#include "runtime/number_format.h"
#include "sim/desktop.h"
#include "sim/excel/call_gate.h"
#include "sim/excel/sheet.h"

namespace harumado {
namespace {

std::int64_t HostCalls(sim::Desktop& desktop, const wchar_t* only = nullptr) {
  std::int64_t n = 0;
  for (auto op : sim::CallGate::Operations()) {
    const std::wstring name(op);
    if (only == nullptr || name == only) n += desktop.excel.gate().calls(name);
  }
  return n;
}

// The program on a simulated desktop with nobody at it, Excel running with one workbook whose
// columns A to E are used down to `rows`. The mixed sheet:
//   A  numbers with a thousands comma (numeric: they decide the width)
//   B  a number in row 1, texts below (emptied while the column is fitted, given back afterwards)
//   C  numbers, every tenth row a formula that yields a text
//   D  a number in every other row
//   E  one text in the last row only (no numeric content: left alone)
// The numbers-only sheet has numbers in all five columns: nothing is emptied.
// The names sheet, the usual list: column A holds a name in every row and, under the names,
// their count (a number: a column of names alone has no numeric content and is left as it is, so
// the count is what makes every name be emptied and given back); B to E hold numbers.
enum SheetKind { kMixed = 0, kNumbersOnly = 1, kNames = 2 };

std::wstring Name(std::int32_t row) {
  static constexpr const wchar_t* kFamily[] = {L"佐藤", L"鈴木", L"高橋", L"田中", L"伊藤",
                                               L"渡辺", L"山本", L"中村", L"小林", L"加藤"};
  static constexpr const wchar_t* kGiven[] = {L"花子", L"一郎", L"美咲",  L"大輔",
                                              L"陽菜", L"翔太", L"さくら"};
  return std::wstring(kFamily[row % 10]) + L" " + kGiven[row % 7];
}

class Session : public sim::PointHandler {
 public:
  Session(std::int32_t rows, SheetKind kind) {
    desktop.world.set_handler(this);
    program.Start();
    auto instance = desktop.excel.StartInstance(true);
    sim::SimSheet& sheet = instance->Add()->active_sheet();
    for (std::int32_t row = 1; row <= rows; ++row) {
      if (kind == kNames) {
        sheet.Enter({row, 1}, Name(row));
        for (std::int32_t column = 2; column <= 5; ++column) {
          sheet.Enter({row, column}, std::to_wstring(row * column % 100000));
        }
        continue;
      }
      sheet.Enter({row, 1}, std::to_wstring(1000 + row % 90000) + L",000");
      if (kind == kNumbersOnly) {
        for (std::int32_t column = 2; column <= 5; ++column) {
          sheet.Enter({row, column}, std::to_wstring(row * column));
        }
        continue;
      }
      sheet.Enter({row, 2}, row == 1 ? L"12345" : L"item-" + std::to_wstring(row));
      if (row % 10 == 0) {
        sheet.EnterFormula({row, 3}, L"=\"n/a\"", rt::Value::Text(L"n/a"));
      } else {
        sheet.Enter({row, 3}, std::to_wstring(row));
      }
      if (row % 2 == 0) sheet.Enter({row, 4}, std::to_wstring(row * 7));
    }
    if (kind == kMixed) sheet.Enter({rows, 5}, L"end");
    if (kind == kNames) sheet.Enter({rows + 1, 1}, std::to_wstring(rows));
  }
  ~Session() override { desktop.world.set_handler(nullptr); }

  void AtDispatchPoint() override {
    while (desktop.world.RunOnePending()) {
    }
  }
  void AtWaitPoint(sim::Millis until) override { desktop.world.set_now(until); }

  sim::Desktop desktop;
  platform::Services services = desktop.services();
  app::Program program{services};
};

std::wstring CellText(const rt::Value& v) {
  return v.is_error() ? rt::ErrorValueText(v.error_code()) : rt::TextForm(v);
}

// The fit with every cell reached by its own call: per column the last used row;
// per row its Value, and the NumberFormatLocal of each numeric cell; in a fitted column per row
// the Value again, the Formula and an emptying write of each text cell; the width and the fit;
// a Formula write per emptied cell.
void FitCellByCell(platform::SpreadsheetHost& host) {
  using platform::CellProperty;
  auto application = host.GetActiveObject();
  auto sheet = application->ActiveSheet();
  auto selection = application->RangeSelection();
  for (std::int32_t column = 1; column <= 5; ++column) {
    const std::int32_t last_row = sheet->EndUpRow(sheet->RowCount(), column);
    std::size_t longest = 0;
    for (std::int32_t row = 1; row <= last_row; ++row) {
      const rt::Value v = sheet->GetCell(row, column, CellProperty::kValue);
      if (v.is_empty()) continue;
      const std::wstring s = CellText(v);
      if (!columns::IsNumericText(s)) continue;
      const rt::Value f = sheet->GetCell(row, column, CellProperty::kNumberFormatLocal);
      longest = std::max(longest, columns::FormattedLength(v, s, f.text()));
    }
    if (longest == 0) continue;
    std::vector<std::wstring> saved(static_cast<std::size_t>(last_row) + 1);
    for (std::int32_t row = 1; row <= last_row; ++row) {
      const rt::Value v = sheet->GetCell(row, column, CellProperty::kValue);
      if (v.is_empty() || columns::IsNumericText(CellText(v))) continue;
      saved[static_cast<std::size_t>(row)] =
          sheet->GetCell(row, column, CellProperty::kFormula).text();
      sheet->SetCell(row, column, CellProperty::kValue, rt::Value::Text(L""));
    }
    sheet->SetColumnWidth(column, static_cast<double>(longest) + 4);
    sheet->AutoFitColumn(column);
    for (std::int32_t row = 1; row <= last_row; ++row) {
      const std::wstring& formula = saved[static_cast<std::size_t>(row)];
      if (!formula.empty())
        sheet->SetCell(row, column, CellProperty::kFormula, rt::Value::Text(formula));
    }
  }
  if (selection) selection->Select();
  application->SetVisible(false);
  application->SetVisible(true);
}

template <class Run>
void Measure(benchmark::State& state, Run run) {
  const auto rows = static_cast<std::int32_t>(state.range(0));
  Session session(rows, static_cast<SheetKind>(state.range(1)));
  std::int64_t calls = 0;
  std::int64_t cells = 0;
  std::int64_t runs = 0;
  for (auto _ : state) {
    const std::int64_t before = HostCalls(session.desktop);
    const std::int64_t cells_before = HostCalls(session.desktop, L"Cells");
    run(session);
    calls += HostCalls(session.desktop) - before;
    cells += HostCalls(session.desktop, L"Cells") - cells_before;
    ++runs;
  }
  const double per_run = static_cast<double>(calls) / static_cast<double>(runs);
  state.counters["used rows"] = rows;
  static constexpr const char* kLabels[] = {"mixed sheet", "numbers only", "names in A"};
  state.SetLabel(kLabels[state.range(1)]);
  state.counters["host calls/run"] = per_run;
  state.counters["Cells calls/run"] = static_cast<double>(cells) / static_cast<double>(runs);
  state.counters["est. s at 1 ms/call"] = per_run / 1000.0;
}

// The program's own run: each column's values, formats and formulas are read in one call each,
// and each run of neighbouring texts is emptied with one call and given back with one block write.
void BM_AutoFitColumns(benchmark::State& state) {
  Measure(state, [](Session& s) { columns::AutoFitColumns(s.program); });
}
BENCHMARK(BM_AutoFitColumns)
    ->ArgsProduct({{1000, 10000, 100000}, {kMixed, kNumbersOnly, kNames}})
    ->Unit(benchmark::kMillisecond);

// The same sheets fitted cell by cell.
void BM_FitCellByCell(benchmark::State& state) {
  Measure(state, [](Session& s) { FitCellByCell(s.desktop.excel); });
}
BENCHMARK(BM_FitCellByCell)
    ->ArgsProduct({{1000, 10000, 100000}, {kMixed, kNumbersOnly, kNames}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace harumado

BENCHMARK_MAIN();
