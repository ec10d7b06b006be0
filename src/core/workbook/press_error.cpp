#include "core/workbook/press_error.h"

#include "core/app/form1.h"
#include "core/ui/layouts.h"
#include "core/workbook/texts.h"
#include "core/workbook/workbook_path.h"
#include "runtime/automation_error.h"

namespace harumado::workbook {

// Nothing is undone: PasteActive, ToggledOff and the button's look stay as the press left them,
// and the message asks for the order of presses that recovers. An error 91 means an object was
// missing: when the last open found Excel's window without the workbook, another Excel is in
// the way; before any open there is nothing to say, and only the colour changes.
void ShowPressError(app::Form1& form, std::int32_t number, const std::wstring& desktop_folder) {
  form.Text2().SetForeColor(ui::colors::kErrorRed);
  if (number == rt::err::kObjectNotSet) {
    if (form.state.TitleMatch == kTitleMatchNo) {
      form.Text2().SetText(kCloseAllExcelMessage);
      return;
    }
    if (form.state.TitleMatch.empty()) return;
  }
  form.Text2().SetText(PressOrderMessage(WorkbookPath(desktop_folder, form.Text3().text())));
}

}  // namespace harumado::workbook
