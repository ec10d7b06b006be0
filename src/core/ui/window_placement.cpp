#include "core/ui/window_placement.h"

#include "core/ui/dpi_scale.h"

namespace harumado::ui::placement {

platform::Rect RestoredMain(int left, int top, int dpi) {
  return {left, top, left + ScalePixels(kMainWidth, dpi), top + ScalePixels(kMainHeight, dpi)};
}

platform::Rect BesideMain(const platform::Rect& main, const Beside& where, int dpi) {
  const int left = main.left + ScalePixels(where.dx, dpi);
  const int top = main.top + ScalePixels(where.dy, dpi);
  return {left, top, left + ScalePixels(where.width, dpi), top + ScalePixels(where.height, dpi)};
}

// The main window's right edge is a whole pixel, so only the offsets are rounded: at 96 dpi
// (15 twips a pixel) the right edge less 267 pixels and the top plus 127.
Position SpeechFirstPosition(const platform::Rect& main, int dpi) {
  return {main.right - TwipsToPixels(kSpeechFirstLeftOfRight, dpi),
          main.top + TwipsToPixels(kSpeechFirstBelowTop, dpi)};
}

}  // namespace harumado::ui::placement
