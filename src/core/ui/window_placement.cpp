#include "core/ui/window_placement.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "platform/ui/dpi_scale.h"

namespace harumado::ui::placement {
namespace {

// An edge reckoned in 64 bits and held to the range of a screen coordinate: a window placed at
// the end of that range (a saved left of 2147483647, say) ends there instead of wrapping round
// to the other end of the screen space.
int Edge(std::int64_t from, std::int64_t offset) {
  return static_cast<int>(std::clamp<std::int64_t>(from + offset, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

}  // namespace

platform::Rect RestoredMain(int left, int top, int dpi) {
  return {left, top, Edge(left, ScalePixels(kMainWidth, dpi)),
          Edge(top, ScalePixels(kMainHeight, dpi))};
}

platform::Rect BesideMain(const platform::Rect& main, const Beside& where, int dpi) {
  const int left = Edge(main.left, ScalePixels(where.dx, dpi));
  const int top = Edge(main.top, ScalePixels(where.dy, dpi));
  return {left, top, Edge(left, ScalePixels(where.width, dpi)),
          Edge(top, ScalePixels(where.height, dpi))};
}

// The main window's right edge is a whole pixel, so only the offsets are rounded: at 96 dpi
// (15 twips a pixel) the right edge less 267 pixels and the top plus 127.
Position SpeechFirstPosition(const platform::Rect& main, int dpi) {
  return {Edge(main.right, -TwipsToPixels(kSpeechFirstLeftOfRight, dpi)),
          Edge(main.top, TwipsToPixels(kSpeechFirstBelowTop, dpi))};
}

}  // namespace harumado::ui::placement
