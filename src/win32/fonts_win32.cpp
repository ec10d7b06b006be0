#include "win32/fonts_win32.h"

#include <cmath>
#include <cwchar>

namespace harumado::win32 {

ui::Font DefaultWindowFont() {
  return ui::Font{L"ＭＳ Ｐゴシック", SHIFTJIS_CHARSET, 9, FW_NORMAL};
}

// The height is the character height (negative lfHeight) of the point size at the DPI, so that
// 9.75 points are 13 pixels and 8.25 points 11 pixels at 96 DPI.
HFONT FontCache::Get(const ui::Font& font, int dpi) {
  const ui::Font& f = font.face.empty() ? DefaultWindowFont() : font;
  const int height = -static_cast<int>(std::lround(f.size_pt * dpi / 72.0));
  Key key{f.face, f.charset, height, f.weight, dpi};
  auto it = fonts_.find(key);
  if (it != fonts_.end()) return it->second.get();
  LOGFONTW lf{};
  lf.lfHeight = height;
  lf.lfWeight = f.weight;
  lf.lfCharSet = static_cast<BYTE>(f.charset);
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = VARIABLE_PITCH | FF_MODERN;
  // Copied by hand: MSVC deprecates wcsncpy. lf is zeroed, so the name stays terminated.
  f.face.copy(lf.lfFaceName, LF_FACESIZE - 1);
  auto [pos, inserted] = fonts_.emplace(key, UniqueFont(::CreateFontIndirectW(&lf)));
  (void)inserted;
  return pos->second.get();
}

}  // namespace harumado::win32
