// The cell-frame button Command1: shows where the next paste will land. While pasting is active
// it runs the workbook open step again, which brings the workbook's Excel window forward with
// its active cell; it re-applies the look of Command5 that belongs to the pasting state.
#include <string>

#include "core/app/form1.h"
#include "core/app/program.h"
#include "core/workbook/press_error.h"
#include "runtime/automation_error.h"

namespace harumado::app {
namespace {

// The Desktop folder for the error message; empty when the shell cannot give it.
std::wstring DesktopFolderOrEmpty(Program& program) {
  try {
    return program.os.shell.DesktopFolder();
  } catch (const rt::AutomationError&) {
    return {};
  }
}

}  // namespace

// The open step passes on the errors of opening the workbook and of reading Excel's window (and
// those of its trap's own actions). These buttons have no trap of their own, so such an error is
// shown as the start/stop press shows it, in error red.
bool Form1::RunOpenStepShowingErrors() {
  try {
    Command8_Click();
  } catch (const rt::AutomationError& e) {
    workbook::ShowPressError(*this, e.number(), DesktopFolderOrEmpty(program));
    return false;
  }
  return true;
}

// After an error of the open step the press ends there, leaving the message in view.
void Form1::Command1_Click() {
  if (state.PasteActive == 1) {
    ShowPastingLook();
    if (!RunOpenStepShowingErrors()) return;
  }
  if (state.PasteActive == 0) {
    ShowStoppedLook();
    Text3().SetFocus();
  }
  Text2().SetText(L"現在位置のセル枠を表示します。");
}

}  // namespace harumado::app
