#pragma once
// Dots per inch of windows and monitors, and the twips of the window layouts in pixels.
#include "platform/ui/dpi_scale.h"
#include "win32/win32_api.h"

namespace harumado::win32 {

// The DPI of a display at 100 %: the program's pixel figures and pictures are made for it.
inline constexpr int kDefaultDpi = ui::kBaseDpi;

// Twips and 96-dpi lengths are scaled by the one rule of the window layouts.
using ui::ScalePixels;
using ui::TwipsToPixels;

// The DPI of the monitor a window stands on (the system DPI where the system cannot tell).
int DpiForWindow(HWND window);
// The system DPI: the DPI of the primary monitor when the program started.
int SystemDpi();
// The outer rectangle of a window with this style around a client rectangle.
RECT OuterRectForClient(const RECT& client, DWORD style, DWORD ex_style, int dpi);
// A system metric (SM_CXICON, ...) at the given DPI.
int SystemMetricForDpi(int index, int dpi);

}  // namespace harumado::win32
