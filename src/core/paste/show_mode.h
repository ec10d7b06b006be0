#pragma once
// Showing a paste mode: its caption on Check2, then its message in Text2.
#include "core/paste/paste_modes.h"

namespace harumado::app {
class Form1;
}

namespace harumado::paste {

void ShowMode(app::Form1& form, const PasteModeInfo& mode);

}  // namespace harumado::paste
