// The side windows follow the main window: Timer1 moves the usage window, Timer2 the speech
// window, every 10 ms while enabled, at the side window's own display scale.
#include "core/app/form1.h"
#include "core/app/program.h"
#include "core/readaloud/form3.h"
#include "core/ui/form2.h"
#include "core/ui/window_placement.h"
#include "runtime/skip_mode.h"

namespace harumado::app {

// One rectangle query and one move; no clamping, so a side window follows the main window off
// the screen too. A failing window call leaves the side window where it was.
void Form1::PlaceBesideMain(ui::Window& side, const ui::placement::Beside& where) {
  auto& windows = program.os.windows;
  rt::SkipMode skip;
  skip.Run([&] {
    const platform::Rect r = ui::placement::BesideMain(windows.GetWindowRect(window().handle()),
                                                       where, windows.Dpi(side.handle()));
    windows.MoveWindow(side.handle(), r.left, r.top, r.width(), r.height(), true);
  });
}

// A tick never creates the usage window: with none loaded it does nothing.
void Form1::Timer1_Timer() {
  if (ui::Form2* usage = program.loaded_form2()) {
    PlaceBesideMain(usage->window(), ui::placement::kUsage);
  }
}

void Form1::Timer2_Timer() {
  if (readaloud::Form3* speech = program.loaded_form3()) {
    PlaceBesideMain(speech->window(), ui::placement::kSpeech);
  }
}

}  // namespace harumado::app
