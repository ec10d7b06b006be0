#pragma once
// Dots per inch of windows and monitors, and the twips of the window layouts in pixels.
#include "win32/win32_api.h"

namespace harumado::win32 {

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kDefaultDpi = 96;

// Pixels for a length in twips at the given DPI, rounded to the nearest pixel.
int TwipsToPixels(int twips, int dpi);
// The DPI of the monitor a window stands on (the system DPI where the system cannot tell).
int DpiForWindow(HWND window);
// The system DPI: the DPI of the primary monitor when the program started.
int SystemDpi();
// The outer rectangle of a window with this style around a client rectangle.
RECT OuterRectForClient(const RECT& client, DWORD style, DWORD ex_style, int dpi);
// A system metric (SM_CXICON, ...) at the given DPI.
int SystemMetricForDpi(int index, int dpi);

}  // namespace harumado::win32
