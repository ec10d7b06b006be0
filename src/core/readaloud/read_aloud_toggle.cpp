// The read-aloud check box Check3: shows the speech window and lets it speak, or stops the
// speech, removes the clipboard hook and destroys the speech window; then re-applies the z-order
// chosen with Check4 to all three windows (without the z-order message).
#include "core/app/form1.h"
#include "core/app/program.h"
#include "core/paste/paste_modes.h"
#include "core/readaloud/form3.h"
#include "core/readaloud/module3.h"
#include "core/ui/form2.h"
#include "core/ui/window_placement.h"

namespace harumado::app {
// Turning off while the speech window is itself unloading (its close box, or the main window's
// shutdown closing it) arrives here from that window's unload: the program keeps that window
// alive and reachable until its unload handler returns and ignores the request to unload it
// again, so the steps below that address the speech window act on the window that is going, and
// it is destroyed once its unload handler is done. In the ordinary turn-off the window is
// destroyed here, and the z-order steps create it again, hidden, with a fresh voice and hook.
void Form1::Check3_Click() {
  auto& windows = program.os.windows;
  if (Check3().value() == 1) {
    const platform::WindowHandle speech = program.form3().window().handle();
    windows.Show(speech);
    // Beside the main window's outer rectangle, at the speech window's display scale; its size
    // is not changed.
    const ui::placement::Position first = ui::placement::SpeechFirstPosition(
        windows.GetWindowRect(window().handle()), windows.Dpi(speech));
    const platform::Rect own = windows.GetWindowRect(speech);
    windows.MoveWindow(speech, first.left, first.top, own.width(), own.height(), true);
    windows.SetTopmost(speech, true);
    Timer2().SetInterval(ui::placement::kFollowInterval);
    Timer2().SetEnabled(true);
    Text2().SetText(L"クリップボードの内容をコピーして読み上げます。");
  } else if (Check3().value() == 0) {
    windows.SetTopmost(program.form3().window().handle(), false);
    program.form3().Form3_StopSpeech();
    Timer2().SetEnabled(false);
    windows.Hide(program.form3().window().handle());
    // While the usage window is open, Text2 keeps the usage text.
    if (state.UsageOpen == 0) {
      if (const auto* mode = paste::FindModeByCaption(Check2().text())) {
        Text2().SetText(std::wstring(mode->message));
      }
    }
    readaloud::UnhookClipboardViewer(program);
    program.UnloadForm3();
  }

  ApplyZOrderToWindows();
}

}  // namespace harumado::app
