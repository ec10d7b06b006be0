// The usage button Command10: opens and closes the usage window with the manual picture.
#include "core/app/form1.h"
#include "core/app/program.h"
#include "core/paste/paste_modes.h"
#include "core/ui/form2.h"
#include "core/ui/window_placement.h"
#include "core/ui/z_order.h"
#include "runtime/skip_mode.h"

namespace harumado::app {

// UsageOpen flips at every press, whatever the window's real state: after the usage window was
// closed by other means (its close key) it is still 1, so the next press runs the close branch on
// the window that step one has just created hidden, and the press after that opens it.
// Failing window calls are passed over; the action reports nothing and leaves Text2's colour.
void Form1::Command10_Click() {
  auto& windows = program.os.windows;
  rt::SkipMode skip;

  const bool topmost = Check4().value() == 1;
  ui::Window& usage = program.form2().window();  // created hidden when it does not exist
  skip.Run([&] { windows.SetTopmost(usage.handle(), topmost); });
  Check4().SetTooltip(std::wstring(ui::ZOrderTooltip(topmost)));

  state.UsageOpen = state.UsageOpen == 0 ? 1 : 0;
  if (state.UsageOpen == 1) {
    skip.Run([&] { windows.Show(usage.handle()); });
    Timer1().SetEnabled(true);
    PlaceBesideMain(usage, ui::placement::kUsage);
    Timer1().SetInterval(ui::placement::kFollowInterval);
    Timer1().SetEnabled(true);
    Text2().SetText(L"【 使い方 】 → [参考例] [各機能の説明] [注意点]");
  } else {
    program.UnloadForm2();
    Timer1().SetEnabled(false);
    if (const auto* mode = paste::FindModeByCaption(Check2().text())) {
      Text2().SetText(std::wstring(mode->message));
    }
  }
}

// The release comes before the press action; when the press then shows the usage window, that
// window becomes the active one.
void Form1::Command10_MouseUp() { Text3().SetFocus(); }

}  // namespace harumado::app
