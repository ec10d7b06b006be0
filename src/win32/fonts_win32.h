#pragma once
// The fonts of the window layouts as GDI fonts at a window's DPI.
#include <map>
#include <tuple>

#include "platform/ui/control.h"
#include "win32/scoped.h"

namespace harumado::win32 {

// The font of controls that have none of their own: a 9-point Japanese Gothic face.
ui::Font DefaultWindowFont();

class FontCache {
 public:
  // The font at this DPI, created on first use and kept until Clear.
  HFONT Get(const ui::Font& font, int dpi);
  void Clear() { fonts_.clear(); }

 private:
  using Key = std::tuple<std::wstring, int, int, int, int>;
  std::map<Key, UniqueFont> fonts_;
};

}  // namespace harumado::win32
