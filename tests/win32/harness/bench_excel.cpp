// The benchmark of the program against the Excel test double (not a test): how long a copy takes
// to be pasted with the cursor moved, how many host operations and calls across the process
// boundary that takes, what one host operation costs, and the column fit of a long column with
// the bulk reads of the program beside a fit read cell by cell.
#include <algorithm>
#include <cwchar>
#include <numeric>

#include "automation/late_bound_host.h"
#include "excel_support.h"
#include "runtime/automation_error.h"
#include "scenario_support.h"
#include "win32/automation/com_runtime.h"

namespace harumado::harness {
namespace {

constexpr int kCopies = 10;
constexpr int kHostCalls = 200;

double Frequency() {
  LARGE_INTEGER f;
  ::QueryPerformanceFrequency(&f);
  return static_cast<double>(f.QuadPart);
}

std::int64_t Now() {
  LARGE_INTEGER now;
  ::QueryPerformanceCounter(&now);
  return now.QuadPart;
}

std::int64_t Number(const std::vector<std::wstring>& report, const std::wstring& key) {
  const std::wstring line = LineStarting(report, key + L" ");
  return line.empty() ? 0 : std::stoll(line.substr(key.size() + 1));
}

// Every host operation the double counted.
std::int64_t HostOperations(const std::vector<std::wstring>& report) {
  std::int64_t n = 0;
  for (const auto& l : report) {
    if (l.rfind(L"calls ", 0) == 0) n += std::stoll(l.substr(l.rfind(L' ') + 1));
  }
  return n;
}

std::wstring Ms(double seconds) {
  wchar_t text[32];
  std::swprintf(text, 32, L"%.1f ms", seconds * 1000);
  return text;
}

struct Counts {
  std::int64_t host = 0;
  std::int64_t served = 0;
};
Counts CountsNow() {
  auto report = ExcelReport();
  if (!report) return {};
  return {HostOperations(*report), Number(*report, L"served")};
}

void PasteLatency() {
  const double f = Frequency();
  std::vector<double> latency;
  std::vector<double> work;
  Counts first = CountsNow();
  for (int i = 0; i < kCopies; ++i) {
    const std::int64_t copied = Now();
    if (!CopyText(std::to_wstring(1000 + i))) return;
    // This copy's paste is done once its value stands in a cell and the cursor's move (the
    // selection of the next cell) has followed the clipboard-format list asked for after the copy.
    const std::wstring value = L" number " + std::to_wstring(1000 + i) + L"|";
    std::optional<std::vector<std::wstring>> report;
    const bool pasted = WaitUntil(
        [&] {
          report = ExcelReport();
          if (!report) return false;
          const std::int64_t formats = Number(*report, L"last-formats-at");
          return formats > copied && Number(*report, L"last-select-at") > formats &&
                 std::any_of(report->begin(), report->end(), [&](const std::wstring& l) {
                   return l.rfind(L"cell ", 0) == 0 && l.find(value) != std::wstring::npos;
                 });
        },
        kPasteLimit);
    if (!pasted) {
      Note(L"the copy was not pasted within the limit");
      return;
    }
    const std::int64_t selected = Number(*report, L"last-select-at");
    latency.push_back(static_cast<double>(selected - copied) / f);
    work.push_back(static_cast<double>(selected - Number(*report, L"last-formats-at")) / f);
  }
  const Counts last = CountsNow();
  std::sort(latency.begin(), latency.end());
  std::sort(work.begin(), work.end());
  Note(L"paste of a copied number, " + std::to_wstring(kCopies) +
       L" copies: clipboard change to cursor moved median " + Ms(latency[latency.size() / 2]) +
       L" (min " + Ms(latency.front()) + L", max " + Ms(latency.back()) +
       L"; the loop looks every 500 ms); the paste and cursor move themselves median " +
       Ms(work[work.size() / 2]) + L" (min " + Ms(work.front()) + L", max " + Ms(work.back()) +
       L")");
  Note(L"per paste: " + std::to_wstring((last.host - first.host) / kCopies) +
       L" host operations, " + std::to_wstring((last.served - first.served) / kCopies) +
       L" calls across the process boundary");
}

void HostCallCost() {
  win32::ComApartment apartment;
  win32::ComRuntime runtime;
  automation::LateBoundHost host(runtime);
  auto app = host.GetActiveObject();
  const Counts before = CountsNow();
  const std::int64_t start = Now();
  for (int i = 0; i < kHostCalls; ++i) app->GetActiveCell(platform::ActiveCellProperty::kRow);
  const double seconds = static_cast<double>(Now() - start) / Frequency();
  const Counts after = CountsNow();
  const double calls = static_cast<double>(after.served - before.served) / kHostCalls;
  wchar_t line[200];
  std::swprintf(line, 200,
                L"one host operation (ActiveCell.Row): %.3f ms, %.0f calls across the process "
                L"boundary, %.3f ms a call",
                seconds * 1000 / kHostCalls, calls, seconds * 1000 / kHostCalls / calls);
  Note(line);
}

// Reads the cells of the column, and the format of each number, one call each: what a fit made
// cell by cell reads (without its writes); over the first `rows` rows of the column of `total`.
void CellByCellRead(int rows, int total) {
  win32::ComApartment apartment;
  win32::ComRuntime runtime;
  automation::LateBoundHost host(runtime);
  auto sheet = host.GetActiveObject()->ActiveSheet();
  const Counts before = CountsNow();
  const std::int64_t start = Now();
  for (int row = 1; row <= rows; ++row) {
    const rt::Value v = sheet->GetCell(row, 1, platform::CellProperty::kValue);
    if (v.is_number()) sheet->GetCell(row, 1, platform::CellProperty::kNumberFormatLocal);
  }
  const double seconds = static_cast<double>(Now() - start) / Frequency();
  const Counts after = CountsNow();
  std::wstring line = L"column A read cell by cell, " + std::to_wstring(rows) + L" rows: " +
                      Ms(seconds) + L", " + std::to_wstring(after.host - before.host) +
                      L" host operations, " + std::to_wstring(after.served - before.served) +
                      L" calls across the process boundary";
  if (rows < total) {
    line +=
        L"; at that rate " + std::to_wstring(total) + L" rows take " + Ms(seconds * total / rows);
  }
  Note(line);
}

// One press of the column-fit button, timed until its message shows, with the host operations
// and the calls across the process boundary it took.
bool TimedFit(HWND main, const std::wstring& what) {
  const Counts before = CountsNow();
  const std::int64_t start = Now();
  PostClick(Main(main, L"Command2"));
  if (!WaitForText(Main(main, L"Text2"), L"セル幅が自動調整されました。",
                   std::chrono::minutes(10))) {
    return false;
  }
  const double seconds = static_cast<double>(Now() - start) / Frequency();
  const Counts after = CountsNow();
  Note(L"column fit of A to E with " + what + L": " + Ms(seconds) + L", " +
       std::to_wstring(after.host - before.host) + L" host operations, " +
       std::to_wstring(after.served - before.served) + L" calls across the process boundary");
  return true;
}

// The usual list: a name in every row of column A and their count under them (so that column A is
// fitted and every name emptied and given back), numbers in B to E.
bool FillNamesSheet(int rows) {
  const std::wstring count = std::to_wstring(rows);
  if (!CallExcel(L"HarumadoFill", {L"A", count, L"1", L"1"}) ||
      !CallExcel(L"HarumadoEnter", {L"A" + std::to_wstring(rows + 1), count})) {
    return false;
  }
  for (const wchar_t* column : {L"B", L"C", L"D", L"E"}) {
    if (!CallExcel(L"HarumadoFill", {column, count, L"1", L"0"})) return false;
  }
  return true;
}

}  // namespace

int ExcelBenchmark(const std::wstring& program, int rows, int cell_by_cell_rows) {
  CloseAllExcel();
  const std::wstring path = DesktopFolder() + L"\\bench.xlsx";
  PutWorkbookOnDesktop(L"bench.xlsx");
  if (!StartVisibleExcel()) return 1;
  const std::wstring exe =
      PrepareProgram(L"excel-benchmark", program, std::string("100,100,1,1,1\r\n"));
  RunningProgram p(exe);
  HWND main = nullptr;
  if (!StartPasting(p, main, L"bench", path)) return 1;
  PasteLatency();
  HostCallCost();

  // The column fit of the program (bulk reads) on a column of numbers with every tenth cell a
  // text, which is emptied and given back.
  if (!CallExcel(L"HarumadoFill", {L"A", std::to_wstring(rows), L"1000"})) return 1;
  if (!TimedFit(main, std::to_wstring(rows) + L" rows in A (" + std::to_wstring(rows / 10) +
                          L" texts, each alone between numbers)")) {
    return 1;
  }
  CellByCellRead(std::min(rows, cell_by_cell_rows), rows);
  // The usage button pressed twice puts the mode message into Text2, so that the next fit's
  // message is seen afresh.
  PostClick(Main(main, L"Command10"));
  if (!WaitForText(Main(main, L"Text2"), kUsageMessage, kExcelLimit)) return 1;
  PostClick(Main(main, L"Command10"));
  if (!WaitForText(Main(main, L"Text2"), kIntegerMessage, kExcelLimit)) return 1;
  if (!FillNamesSheet(rows) ||
      !TimedFit(main,
                std::to_wstring(rows) + L" names in A above their count, numbers in B to E")) {
    return 1;
  }
  CloseAndExpectEnd(p, main);
  CloseAllExcel();
  return FailureCount() == 0 ? 0 : 1;
}

}  // namespace harumado::harness
