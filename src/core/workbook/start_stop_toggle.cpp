// The start/stop button Command5: validates the file name, flips pasting, opens the workbook and
// runs the paste loop.
#include <string>

#include "core/app/form1.h"
#include "core/app/program.h"
#include "core/paste/module1.h"
#include "core/ui/layouts.h"
#include "core/workbook/name_refusal.h"
#include "core/workbook/press_error.h"
#include "core/workbook/save_format.h"
#include "core/workbook/texts.h"
#include "core/workbook/workbook_path.h"
#include "runtime/automation_error.h"

namespace harumado::app {

// A validated press flips pasting and runs the open step in both directions. Starting, the
// paste loop runs inside this press until a later press (nested in the loop's event dispatch)
// or a mouse press in Text1 or Text3 stops it; stopping, the nested loop returns almost at once.
// A name is accepted when it has no extension or one the program can save in, and when it makes
// a file directly in the Desktop folder, and a missing one only when the spreadsheet can create
// its format.
void Form1::Command5_Click() {
  std::wstring desktop_folder;  // empty in the message when the error came before it was read
  try {
    if (Text1().text().empty()) Text1().SetText(L"1");
    Text2().SetForeColor(ui::colors::kBlue);
    desktop_folder = program.os.shell.DesktopFolder();
    state.ToggledOff = 0;
    if (Text3().text().empty()) {
      Text2().SetText(workbook::kEmptyNameMessage);
      Text3().SetFocus();
      return;
    }
    if (!workbook::SaveFileFormat(Text3().text())) {
      Text2().SetText(workbook::kBadExtensionMessage);
      return;
    }
    if (workbook::RefuseUnusableName(*this, desktop_folder)) return;
    if (workbook::RefuseUncreatableFormat(*this, desktop_folder)) return;
    Text2().SetText(workbook::kPleaseWaitMessage);
    state.PasteActive ^= 1;
    if (state.PasteActive == 1) ShowPastingLook();
    if (state.PasteActive == 0) {
      ShowStoppedLook();
      state.ToggledOff = 1;
    }
    Command8_Click();
    paste::PasteLoop(program);
  } catch (const rt::AutomationError& e) {
    workbook::ShowPressError(*this, e.number(), desktop_folder);
  }
}

}  // namespace harumado::app
