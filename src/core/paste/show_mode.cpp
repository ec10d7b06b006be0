#include "core/paste/show_mode.h"

#include <string>

#include "core/app/form1.h"

namespace harumado::paste {

// The caption changes without a click: the value of Check2 is left alone.
void ShowMode(app::Form1& form, const PasteModeInfo& mode) {
  form.Check2().SetText(std::wstring(mode.caption));
  form.Text2().SetText(std::wstring(mode.message));
}

}  // namespace harumado::paste
