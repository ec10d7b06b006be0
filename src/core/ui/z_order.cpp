// Z-order of the three windows, chosen with Check4.
#include "core/ui/z_order.h"

#include <functional>

#include "core/app/form1.h"
#include "core/app/program.h"
#include "core/readaloud/form3.h"
#include "core/ui/form2.h"

namespace harumado::app {

void Form1::Check4_Click() { ApplyZOrder(); }

void Form1::ApplyZOrder() {
  ApplyZOrderToWindows();
  const bool topmost = Check4().value() == 1;
  Text2().SetText(topmost ? L"フォームが[最前面]になります。" : L"フォームが[最背面]になります。");
}

// Check4 is read afresh before each window's step, and the tooltip follows each step.
// Addressing the usage and speech windows creates them, hidden, when they do not exist.
void Form1::ApplyZOrderToWindows() {
  auto& windows = program.os.windows;
  const std::function<platform::WindowHandle()> targets[] = {
      [this] { return window().handle(); },
      [this] { return program.form2().window().handle(); },
      [this] { return program.form3().window().handle(); },
  };
  for (const auto& target : targets) {
    const bool topmost = Check4().value() == 1;
    windows.SetTopmost(target(), topmost);
    Check4().SetTooltip(std::wstring(ui::ZOrderTooltip(topmost)));
  }
}

}  // namespace harumado::app
