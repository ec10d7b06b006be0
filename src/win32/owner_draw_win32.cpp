#include "win32/owner_draw_win32.h"

#include "win32/dpi_win32.h"
#include "win32/scoped.h"

namespace harumado::win32 {
namespace {

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP bm{};
  if (bitmap == nullptr || ::GetObjectW(bitmap, sizeof bm, &bm) == 0) return SIZE{0, 0};
  return SIZE{bm.bmWidth, bm.bmHeight};
}

// Copies the bitmap to (x, y) at the DPI's scale (pictures are drawn for 96 DPI).
void BlitScaled(HDC dc, HBITMAP bitmap, int x, int y, int dpi) {
  const SIZE size = BitmapSize(bitmap);
  if (size.cx == 0) return;
  UniqueMemoryDc source(::CreateCompatibleDC(dc));
  SelectedObject selected(source.get(), bitmap);
  const int w = ScalePixels(size.cx, dpi);
  const int h = ScalePixels(size.cy, dpi);
  if (w == size.cx && h == size.cy) {
    ::BitBlt(dc, x, y, w, h, source.get(), 0, 0, SRCCOPY);
    return;
  }
  const int old_mode = ::SetStretchBltMode(dc, HALFTONE);
  ::SetBrushOrgEx(dc, 0, 0, nullptr);
  ::StretchBlt(dc, x, y, w, h, source.get(), 0, 0, size.cx, size.cy, SRCCOPY);
  ::SetStretchBltMode(dc, old_mode);
}

void Fill(HDC dc, const RECT& rect, COLORREF color) {
  UniqueBrush brush(::CreateSolidBrush(color));
  ::FillRect(dc, &rect, brush.get());
}

}  // namespace

void DrawGraphicalButton(HDC dc, const RECT& rect, const ButtonLook& look) {
  Fill(dc, rect, look.back);
  RECT edge = rect;
  ::DrawEdge(dc, &edge, look.pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  RECT inner = rect;
  ::InflateRect(&inner, -2, -2);
  if (look.pressed) ::OffsetRect(&inner, 1, 1);

  const SIZE picture = BitmapSize(look.picture);
  const int picture_w = ScalePixels(picture.cx, look.dpi);
  const int picture_h = ScalePixels(picture.cy, look.dpi);

  RECT text_rect = inner;
  int text_h = 0;
  SelectedObject font(dc, look.font);
  const UINT format = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL;
  if (!look.caption.empty()) {
    RECT measure = inner;
    text_h = ::DrawTextW(dc, look.caption.c_str(), static_cast<int>(look.caption.size()), &measure,
                         format | DT_CALCRECT);
  }
  const int content_h = picture_h + text_h;
  const int top = inner.top + ((inner.bottom - inner.top) - content_h) / 2;
  if (look.picture != nullptr) {
    const int left = inner.left + ((inner.right - inner.left) - picture_w) / 2;
    BlitScaled(dc, look.picture, left, top, look.dpi);
  }
  if (!look.caption.empty()) {
    text_rect.top = top + picture_h;
    text_rect.bottom = text_rect.top + text_h;
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, look.disabled ? ::GetSysColor(COLOR_GRAYTEXT) : look.fore);
    ::DrawTextW(dc, look.caption.c_str(), static_cast<int>(look.caption.size()), &text_rect,
                format);
  }
  if (look.focused) {
    RECT focus = rect;
    ::InflateRect(&focus, -3, -3);
    ::DrawFocusRect(dc, &focus);
  }
}

void DrawPicture(HDC dc, const RECT& rect, COLORREF ground, HBITMAP picture, int dpi) {
  Fill(dc, rect, ground);
  if (picture != nullptr) BlitScaled(dc, picture, rect.left, rect.top, dpi);
}

}  // namespace harumado::win32
