#include "qt/fonts_qt.h"

#include <algorithm>
#include <cmath>

namespace harumado::qt {
namespace {

const std::wstring kLayoutGothic = L"ＭＳ Ｐゴシック";

}  // namespace

ui::Font DefaultWindowFont() { return ui::Font{kLayoutGothic, 128, 9, 400}; }

QFont FontAt(const ui::Font& font, int dpi) {
  const ui::Font& f = font.face.empty() ? DefaultWindowFont() : font;
  QFont q;
  if (f.face == kLayoutGothic) {
    q.setFamily(QString::fromLatin1(kProportionalGothicFamily));
    q.setStyleHint(QFont::SansSerif);
  }
  q.setPixelSize(std::max(1, static_cast<int>(std::lround(f.size_pt * dpi / 72.0))));
  q.setWeight(static_cast<QFont::Weight>(std::clamp(f.weight, 100, 900)));
  return q;
}

}  // namespace harumado::qt
