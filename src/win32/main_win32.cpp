// The Windows program: the platform services, the program, and the main message loop.

#include "automation/late_bound_host.h"
#include "core/app/program.h"
#include "core/paste/engine_state.h"
#include "win32/automation/com_runtime.h"
#include "win32/automation/sapi_voice.h"
#include "win32/clipboard_win32.h"
#include "win32/files_win32.h"
#include "win32/scoped.h"
#include "win32/shell_win32.h"
#include "win32/system_info_win32.h"
#include "win32/window_properties.h"
#include "win32/window_system_win32.h"

using namespace harumado;

namespace {

// The paste loops' activity stands on the main window as two window properties, read by the
// tests that drive the program from another process: they wait for a loop's end or for its
// cycles instead of for time.
void PublishPasteActivity(app::Program& program) {
  program.paste.activity.changed = [&program] {
    const auto& activity = program.paste.activity;
    // A loop can end after the main window went (closed while pasting).
    const ui::Window* form1 = program.FindWindow(L"Form1");
    if (form1 == nullptr || form1->handle() == 0) return;
    HWND main = reinterpret_cast<HWND>(form1->handle());
    win32::SetWindowProperty(main, L"HarumadoPasteLoops",
                             static_cast<std::intptr_t>(activity.loops_running));
    win32::SetWindowProperty(main, L"HarumadoPasteCycles",
                             static_cast<std::intptr_t>(activity.cycles_done));
  };
}

}  // namespace

// Retired windows are dropped whenever the loop is idle at its top level; the loop ends when
// the program has ended (every window is gone by then).
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  win32::ComApartment com;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&controls);

  win32::WindowSystemWin32 windows(instance);
  win32::ClipboardWin32 clipboard;
  win32::ShellWin32 shell;
  win32::FilesWin32 files;
  win32::SystemInfoWin32 system([&windows] { windows.Quit(0); });
  win32::ComRuntime com_runtime;
  automation::LateBoundHost host(com_runtime);
  win32::SapiVoiceFactory voices;
  platform::Services services{host, windows, clipboard, voices, shell, system, files};

  app::Program program(services);
  PublishPasteActivity(program);
  program.Start();
  if (program.exited()) return 0;
  return windows.Run([&program] { program.OnIdle(); });
}
