#pragma once
#include <cstdint>

namespace harumado::platform {

// A native window handle (HWND on Windows, a simulated handle on the simulated desktop).
using WindowHandle = std::intptr_t;

// An outer window rectangle in screen pixels, as GetWindowRect reports it.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool Intersects(const Rect& o) const {
    return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
  }
  bool operator==(const Rect&) const = default;
};

}  // namespace harumado::platform
