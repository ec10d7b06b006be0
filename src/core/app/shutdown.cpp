// Shutdown: the main window's unload sequence.
#include "core/app/form1.h"
#include "core/app/program.h"
#include "core/readaloud/module3.h"
#include "core/settings/settings_writer.h"
#include "runtime/automation_error.h"
#include "runtime/conversions.h"

namespace harumado::app {

// Stops pasting, closes the side windows, saves the settings and releases the clipboard hook.
// The first failing step ends the sequence without a message (the settings file is written whole
// or not at all, so nothing is left open); the window closes all the same. No call goes to Excel:
// it keeps the workbook open and unsaved.
//
// When the close arrives while the paste loop waits, this runs nested inside the loop: the press
// of Command5 below brings PasteActive to 0, and the loop returns once control comes back to it.
void Form1::Form_Unload() {
  auto& os = program.os;
  try {
    Timer1().SetEnabled(false);
    state.Unloading = 1;
    if (state.PasteActive == 1) {
      ShowPastingLook();
      Command5_Click();
    }
    program.UnloadForm3();  // unticks Check3 and releases the clipboard hook
    program.UnloadForm2();

    const platform::Rect outer = os.windows.GetWindowRect(window().handle());
    settings::SettingsToSave values;
    values.left = outer.left;
    values.top = outer.top;
    values.wrap_count = rt::ToInt32(Text1().text());  // an empty field fails here
    state.PasteMode =
        settings::PasteModeFromCheck2(Check2().value(), Check2().text(), state.PasteMode);
    state.TopmostFlag = settings::TopmostFromCheck4(Check4().value(), state.TopmostFlag);
    values.paste_mode = state.PasteMode;
    values.topmost = state.TopmostFlag;
    settings::WriteSettings(os.shell, os.files, values);

    Timer2().SetEnabled(false);
    readaloud::UnhookClipboardViewer(program);  // nothing left to do after the speech window went
  } catch (const rt::AutomationError&) {
    // The sequence ends at the failing step; the main window closes all the same.
  }
}

}  // namespace harumado::app
