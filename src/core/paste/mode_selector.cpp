// The paste mode selector Check2: every click moves the caption to the next of the four modes,
// 整数, 数値, 画像, 画像□ and 整数 again, and the box shows the tick again.
#include <iterator>

#include "core/app/form1.h"
#include "core/paste/paste_modes.h"
#include "core/paste/show_mode.h"

namespace harumado::app {

// The platform toggles the value before the click arrives, so a click on the ticked box comes
// with 0. Ticking the box again raises one more click, which finds 1 and does nothing. A caption
// outside the table changes nothing and leaves the box unticked.
void Form1::Check2_Click() {
  if (Check2().value() != 0) return;
  const paste::PasteModeInfo* mode = paste::FindModeByCaption(Check2().text());
  if (mode == nullptr) return;
  const auto index = static_cast<std::size_t>(mode - std::begin(paste::kPasteModes));
  const paste::PasteModeInfo& next =
      paste::kPasteModes[(index + 1) % std::size(paste::kPasteModes)];
  paste::ShowMode(*this, next);
  state.ModeFlag = next.mode_flag;
  Check2().SetValue(1);
}

}  // namespace harumado::app
