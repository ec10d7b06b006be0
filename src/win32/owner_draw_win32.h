#pragma once
// Drawing of the controls the program paints itself: graphical buttons and pictures.
#include <string>

#include "win32/win32_api.h"

namespace harumado::win32 {

struct ButtonLook {
  COLORREF back = 0;
  COLORREF fore = 0;
  HFONT font = nullptr;
  HBITMAP picture = nullptr;  // may be null
  std::wstring caption;
  int dpi = 96;
  bool pressed = false;
  bool focused = false;
  bool disabled = false;
};

// A graphical button: its back colour, a raised (or, pressed, sunken) edge, the picture centred
// above the caption, the caption centred and wrapped onto as many lines as it needs.
void DrawGraphicalButton(HDC dc, const RECT& rect, const ButtonLook& look);
// A picture drawn from the top-left corner on its ground colour, scaled from 96 DPI.
void DrawPicture(HDC dc, const RECT& rect, COLORREF ground, HBITMAP picture, int dpi);

}  // namespace harumado::win32
