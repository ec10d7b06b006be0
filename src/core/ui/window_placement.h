#pragma once
// Where the program places its windows: the main window's outer size when its place is
// restored, the side windows beside the main window, and the speech window's first position.
// Every figure is a length at 96 dpi (the speech window's first offsets in twips); the
// functions give them in pixels at the DPI of the window they place. Screen positions (the
// main window's place, a saved left and top) are used as they are.
#include "platform/types.h"

namespace harumado::ui::placement {

// A side window's outer left-top relative to the main window's, and its outer size.
struct Beside {
  int dx;
  int dy;
  int width;
  int height;
};

struct Position {
  int left;
  int top;
};

// The main window's outer size when start-up restores its place.
inline constexpr int kMainWidth = 268;
inline constexpr int kMainHeight = 123;

// The usage window: right of the main window, top edges level (Timer1).
inline constexpr Beside kUsage{270, 0, 537, 826};
// The speech window: below the main window, left edges level (Timer2).
inline constexpr Beside kSpeech{0, 125, 195, 93};

// Where the speech window first appears when reading aloud is turned on, relative to the main
// window's right edge and top (twips); its timer then keeps it right under the main window.
inline constexpr int kSpeechFirstLeftOfRight = 4000;
inline constexpr int kSpeechFirstBelowTop = 1900;

// Follow-up interval of Timer1 and Timer2, ms.
inline constexpr int kFollowInterval = 10;

// The restored main window's outer rectangle, its left-top at (left, top).
platform::Rect RestoredMain(int left, int top, int dpi);
// A side window's outer rectangle beside the main window's outer rectangle.
platform::Rect BesideMain(const platform::Rect& main, const Beside& where, int dpi);
// The speech window's first outer left-top beside the main window's outer rectangle.
Position SpeechFirstPosition(const platform::Rect& main, int dpi);

}  // namespace harumado::ui::placement
