// harumado-harness: drives the real Windows program through its windows.
//   harumado-harness PROGRAM.exe SCENARIO [ARGS...] [--artifacts FOLDER]
//   harumado-harness copy-text TEXT         (puts TEXT on the clipboard and ends)
//   harumado-harness copy-secret TEXT       (the same, marked as not for clipboard monitors)
//   harumado-harness copy-picture W H       (puts a W x H picture on the clipboard and ends)
//   harumado-harness viewer-process NAME    (a clipboard viewer that can stop answering)
//   harumado-harness startup-benchmark PROGRAM.exe RUNS
//   harumado-harness stacking-probe         (two plain windows, one topmost: what wine stacks)
//   harumado-harness excel-benchmark PROGRAM.exe ROWS CELL_ROWS  (the Excel double registered)
// Prints one line per failed expectation, then the scenario's result.
#include <algorithm>
#include <cstdio>

#include "excel_support.h"
#include "harness.h"
#include "scenario_support.h"
#include "stacking.h"

using namespace harumado::harness;

namespace {

// Start to the first shown main window, for a program that already has its settings file.
int StartupBenchmark(const std::wstring& program, int runs) {
  const std::wstring exe =
      PrepareProgram(L"startup-benchmark", program, std::string("40,40,1,1,1\r\n"));
  std::vector<double> ms;
  for (int i = 0; i < runs; ++i) {
    LARGE_INTEGER frequency, start, shown;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    RunningProgram p(exe);
    HWND main = p.WaitForVisibleWindow(kMainCaption, kStartLimit);
    ::QueryPerformanceCounter(&shown);
    if (main == nullptr) return 1;
    ms.push_back(1000.0 * static_cast<double>(shown.QuadPart - start.QuadPart) /
                 static_cast<double>(frequency.QuadPart));
    CloseAndExpectEnd(p, main);
  }
  std::sort(ms.begin(), ms.end());
  WIN32_FILE_ATTRIBUTE_DATA data{};
  ::GetFileAttributesExW(program.c_str(), GetFileExInfoStandard, &data);
  wchar_t line[256];
  std::swprintf(line, 256,
                L"startup to first shown window over %d runs: median %.1f ms, min %.1f ms, max "
                L"%.1f ms; program file %lu bytes",
                runs, ms[ms.size() / 2], ms.front(), ms.back(), data.nFileSizeLow);
  Note(line);
  return FailureCount() == 0 ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::vector<std::wstring> args(argv + 1, argv + argc);
  if (args.size() == 2 && args[0] == L"copy-text") return CopyText(args[1]) ? 0 : 1;
  if (args.size() == 2 && args[0] == L"copy-secret") return CopyText(args[1], true) ? 0 : 1;
  if (args.size() == 1 && args[0] == L"stacking-probe") return StackingProbe();
  if (args.size() == 1 && args[0] == L"plain-window") return RunPlainWindowProcess();
  if (args.size() == 2 && args[0] == L"viewer-process") return RunViewerProcess(args[1]);
  if (args.size() == 3 && args[0] == L"copy-picture") {
    return CopyPicture(std::stoi(args[1]), std::stoi(args[2])) ? 0 : 1;
  }
  if (args.size() == 4 && args[0] == L"excel-benchmark") {
    return ExcelBenchmark(WindowsPath(args[1]), std::stoi(args[2]), std::stoi(args[3]));
  }
  if (args.size() == 3 && args[0] == L"startup-benchmark") {
    return StartupBenchmark(WindowsPath(args[1]), std::stoi(args[2]));
  }
  auto artifacts = std::find(args.begin(), args.end(), L"--artifacts");
  if (artifacts != args.end() && artifacts + 1 != args.end()) {
    SetArtifactsFolder(WindowsPath(*(artifacts + 1)));
    args.erase(artifacts, artifacts + 2);
  }
  if (args.size() < 2) {
    Note(L"usage: harumado-harness PROGRAM.exe SCENARIO [ARGS...] [--artifacts FOLDER]");
    return 2;
  }
  const std::wstring program = WindowsPath(args[0]);
  const std::wstring name = args[1];
  const std::vector<std::wstring> rest(args.begin() + 2, args.end());
  for (const Scenario& s : AllScenarios()) {
    if (name != s.name) continue;
    s.run(program, rest);
    const int failed = FailureCount();
    Note(std::wstring(s.name) +
         (failed == 0 ? L": passed" : L": " + std::to_wstring(failed) + L" failed expectations"));
    return failed == 0 ? 0 : 1;
  }
  Note(L"no scenario " + name);
  return 2;
}
