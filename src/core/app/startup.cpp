// Start-up: the main window's load sequence.
#include <string>

#include "core/app/form1.h"
#include "core/app/program.h"
#include "core/paste/paste_modes.h"
#include "core/settings/settings_file.h"
#include "core/ui/window_placement.h"
#include "runtime/automation_error.h"
#include "runtime/conversions.h"
#include "runtime/skip_mode.h"

namespace harumado::app {
namespace {

constexpr std::int32_t kFirstSupportedBuild = 10240;  // Windows 10

std::int32_t ToInteger(const rt::Value& v) {
  if (v.is_empty()) return 0;
  if (v.is_number()) return rt::ToInt32(v.number());
  return rt::ToInt32(rt::TextForm(v));
}

// The saved place is used only when some part of the window would be on a monitor; otherwise
// the window keeps the place the layout gives it.
bool OnSomeMonitor(platform::WindowSystem& windows, const platform::Rect& r) {
  for (const auto& m : windows.Monitors()) {
    if (r.Intersects(m)) return true;
  }
  return false;
}

}  // namespace

void Form1::Form_Load() {
  auto& os = program.os;
  if (os.system.AnotherInstanceRuns()) {
    program.Exit();
    return;
  }

  // From here on a failing step is skipped without a message.
  rt::SkipMode skip;
  std::int32_t build = 0;
  skip.Assign(build, [&] { return os.system.VersionBuildNumber(); });
  skip.Run([&] {
    for (const auto& text : os.system.WmiBuildNumbers()) {
      skip.Assign(build, [&] { return rt::ToInt32(text); });
    }
  });
  if (build < kFirstSupportedBuild) {
    skip.Run([&] { os.windows.Show(window().handle()); });
    skip.Run([&] { os.windows.MessageBox(L"利用可能なWindowsは10/11です。", L"確認"); });
    program.Exit();
    return;
  }

  state.ModeFlag = 1;

  const std::wstring path = settings::SettingsReadPath(os.shell, os.files);
  bool present = false;
  skip.Assign(present, [&] { return os.files.NormalFileExists(path); });
  if (present) {
    state.SettingsFound = 1;
    settings::SavedSettings saved;
    skip.Assign(saved, [&] { return settings::ParseSettings(os.files.ReadAll(path)); });
    state.PasteMode = saved.paste_mode;
    state.TopmostFlag = saved.topmost;
    if (const auto* mode = paste::FindModeByNumber(state.PasteMode)) {
      Check2().SetText(std::wstring(mode->caption));
      state.ModeFlag = mode->mode_flag;
    }
    if (state.TopmostFlag == 1) {
      Check4().SetValue(1);
    } else if (state.TopmostFlag == 0) {
      Check4().SetValue(0);
    }
    ApplyZOrder();
    Text2().SetText(L"");
    // A count below 1 would paste every copy into the same cell.
    Text1().SetText(saved.wrap_count < 1 ? L"1" : std::to_wstring(saved.wrap_count));
    skip.Run([&] {
      const int left = ToInteger(saved.left);
      const int top = ToInteger(saved.top);
      // The outer size at the main window's display scale; the place as it was saved.
      const platform::Rect r =
          ui::placement::RestoredMain(left, top, os.windows.Dpi(window().handle()));
      if (OnSomeMonitor(os.windows, r)) {
        os.windows.MoveWindow(window().handle(), left, top, r.width(), r.height(), true);
      }
    });
  }

  skip.Run([&] { os.windows.Show(window().handle()); });
  ShowStoppedLook();
  Text3().SetFocus();
  Text2().SetLocked(true);
  skip.Run([&] { os.host.SetBusyPolicy(1000); });
  if (state.SettingsFound == 0) {
    Check4().SetValue(1);
    ApplyZOrder();
  }
  if (state.SettingsFound == 1) {
    if (const auto* mode = paste::FindModeByCaption(Check2().text())) {
      Text2().SetText(std::wstring(mode->message));
    }
  }
}

}  // namespace harumado::app
