#include "scenario_support.h"

namespace harumado::harness {

std::wstring PrepareProgram(const std::wstring& scenario, const std::wstring& program,
                            const std::optional<std::string>& settings,
                            const std::wstring& exe_name) {
  RemoveTree(AppDataFolder() + L"\\Harumado");
  const std::wstring folder = TempFolder(scenario);
  const std::wstring exe = folder + L"\\" + exe_name;
  CopyProgram(program, exe);
  if (settings) WriteFileBytes(SettingsPathBeside(exe), *settings);
  return exe;
}

std::wstring SettingsPathBeside(const std::wstring& exe) {
  return exe.substr(0, exe.find_last_of(L'\\')) + L"\\Harumado.dat";
}

std::wstring FallbackSettingsPath() { return AppDataFolder() + L"\\Harumado\\Harumado.dat"; }

HWND StartMain(RunningProgram& program) {
  HWND main = program.WaitForVisibleWindow(kMainCaption, kStartLimit);
  if (main == nullptr) {
    Fail(L"the main window is shown", L"shown", L"no window");
    return nullptr;
  }
  if (!program.Sync(main)) Fail(L"the program answers", L"answer", L"none");
  return main;
}

void CloseAndExpectEnd(RunningProgram& program, HWND main) {
  RequestClose(main);
  if (!program.Exited(kEndLimit)) {
    Fail(L"the program ends after its main window is closed", L"ended", L"still running");
    program.Kill();
    return;
  }
  ExpectInt(L"exit code", 0, program.ExitCode());
}

namespace {

bool StandsAt(HWND window, long left, long top, long width, long height) {
  const Rect r = WindowRect(window);
  return r.left == left && r.top == top && r.width() == width && r.height() == height;
}

}  // namespace

std::wstring Where(HWND window) {
  const Rect r = WindowRect(window);
  return std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L" " +
         std::to_wstring(r.width()) + L"x" + std::to_wstring(r.height());
}

void ExpectPlace(const std::wstring& what, HWND window, long left, long top, long width,
                 long height) {
  if (!WaitUntil([&] { return StandsAt(window, left, top, width, height); }, kFollowLimit)) {
    Fail(what,
         std::to_wstring(left) + L"," + std::to_wstring(top) + L" " + std::to_wstring(width) +
             L"x" + std::to_wstring(height),
         Where(window));
  }
}

bool IsTopmost(HWND window) { return window != nullptr && (ExStyle(window) & WS_EX_TOPMOST) != 0; }

}  // namespace harumado::harness
