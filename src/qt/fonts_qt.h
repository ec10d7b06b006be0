#pragma once
// The fonts of the window layouts as Qt fonts at a window's DPI.
#include <QFont>

#include "platform/ui/control.h"

namespace harumado::qt {

// The face that stands in for the layouts' Japanese Gothic face "ＭＳ Ｐゴシック" (same
// proportional Gothic design, installed with the IPA fonts).
inline constexpr char kProportionalGothicFamily[] = "IPAPGothic";

// The font of controls that have none of their own: the 9-point proportional Gothic face.
ui::Font DefaultWindowFont();

// The font at this DPI. Its size is a pixel size, the character height of the point size at the
// DPI rounded as on Windows (9.75 points are 13 pixels and 8.25 points 11 pixels at 96 dpi), so
// that text takes the same room in the layouts whatever DPI Qt itself assumes. A face other
// than the Gothic one is the desktop's default face.
QFont FontAt(const ui::Font& font, int dpi);

}  // namespace harumado::qt
