// Z-order of the three windows, chosen with Check4.
#include "core/app/form1.h"
#include "core/app/program.h"
#include "core/readaloud/form3.h"
#include "core/ui/form2.h"

namespace harumado::app {

void Form1::Check4_Click() { ApplyZOrder(); }

// Addressing the usage and speech windows creates them, hidden, when they do not exist.
void Form1::ApplyZOrder() {
  auto& windows = program.os.windows;
  const bool topmost = Check4().value() == 1;
  const wchar_t* tooltip = topmost ? L"フォーム[最前面]" : L"フォーム[最背面]";
  windows.SetTopmost(window().handle(), topmost);
  Check4().SetTooltip(tooltip);
  windows.SetTopmost(program.form2().window().handle(), topmost);
  Check4().SetTooltip(tooltip);
  windows.SetTopmost(program.form3().window().handle(), topmost);
  Check4().SetTooltip(tooltip);
  Text2().SetText(topmost ? L"フォームが[最前面]になります。" : L"フォームが[最背面]になります。");
}

}  // namespace harumado::app
