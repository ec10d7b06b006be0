// The side windows follow the main window: Timer1 moves the usage window, Timer2 the speech
// window, every 10 ms while enabled.
#include "core/app/form1.h"
#include "core/app/program.h"
#include "core/readaloud/form3.h"
#include "core/runtime/skip_mode.h"
#include "core/ui/form2.h"
#include "core/ui/side_window_placement.h"

namespace harumado::app {
namespace {

// One rectangle query and one move; no clamping, so a side window follows the main window off
// the screen too. A failing window call leaves the side window where it was.
void Follow(Program& program, ui::Window& main, ui::Window& side, int dx, int dy, int width,
            int height) {
  auto& windows = program.os.windows;
  rt::SkipMode skip;
  skip.Run([&] {
    const platform::Rect outer = windows.GetWindowRect(main.handle());
    windows.MoveWindow(side.handle(), outer.left + dx, outer.top + dy, width, height, true);
  });
}

}  // namespace

// A tick never creates the usage window: with none loaded it does nothing.
void Form1::Timer1_Timer() {
  using namespace ui::placement;
  if (ui::Form2* usage = program.loaded_form2()) {
    Follow(program, window(), usage->window(), kUsageDx, kUsageDy, kUsageWidth, kUsageHeight);
  }
}

void Form1::Timer2_Timer() {
  using namespace ui::placement;
  if (readaloud::Form3* speech = program.loaded_form3()) {
    Follow(program, window(), speech->window(), kSpeechDx, kSpeechDy, kSpeechWidth, kSpeechHeight);
  }
}

}  // namespace harumado::app
