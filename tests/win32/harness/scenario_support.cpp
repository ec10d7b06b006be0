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

bool IsTopmost(HWND window) { return window != nullptr && (ExStyle(window) & WS_EX_TOPMOST) != 0; }

}  // namespace harumado::harness
