// The cell-frame button Command1: shows where the next paste will land. While pasting is active
// it runs the workbook open step again, which brings the workbook's Excel window forward with
// its active cell; it re-applies the look of Command5 that belongs to the pasting state.
#include <cstdint>
#include <string>

#include "core/app/form1.h"
#include "core/app/program.h"
#include "core/runtime/automation_error.h"
#include "core/ui/layouts.h"
#include "core/workbook/texts.h"
#include "core/workbook/workbook_path.h"

namespace harumado::app {
namespace {

// The message the start/stop press shows for an error that reaches its trap.
void ShowPressError(Form1& form, std::int32_t number) {
  std::wstring folder;
  try {
    folder = form.program.os.shell.DesktopFolder();
  } catch (const rt::AutomationError&) {
    // The path is then shown without its folder, as the press shows it before it has one.
  }
  form.Text2().SetForeColor(ui::colors::kErrorRed);
  if (number != rt::err::kObjectNotSet || form.state.TitleMatch == workbook::kTitleMatchYes) {
    form.Text2().SetText(
        workbook::PressOrderMessage(workbook::WorkbookPath(folder, form.Text3().text())));
  } else if (form.state.TitleMatch == workbook::kTitleMatchNo) {
    form.Text2().SetText(workbook::kCloseAllExcelMessage);
  }
}

}  // namespace

// The open step passes on the errors of opening the workbook and reading Excel's window. This
// button has no trap of its own, so such an error is shown as the start/stop press shows it, in
// error red, and the press ends there: the message stays in view.
void Form1::Command1_Click() {
  if (state.PasteActive == 1) {
    ShowPastingLook();
    try {
      Command8_Click();
    } catch (const rt::AutomationError& e) {
      ShowPressError(*this, e.number());
      return;
    }
  }
  if (state.PasteActive == 0) {
    ShowStoppedLook();
    Text3().SetFocus();
  }
  Text2().SetText(L"現在位置のセル枠を表示します。");
}

}  // namespace harumado::app
