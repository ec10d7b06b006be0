// The cell-frame button Command1: shows where the next paste will land. While pasting is active
// it runs the workbook open step again, which brings the workbook's Excel window forward with
// its active cell; it re-applies the look of Command5 that belongs to the pasting state.
#include <cstdint>
#include <string>

#include "core/app/form1.h"
#include "core/app/program.h"
#include "core/runtime/automation_error.h"
#include "core/ui/layouts.h"

namespace harumado::app {
namespace {

// The message the start/stop press shows for an error that reaches its trap.
void ShowPressError(Form1& form, std::int32_t number) {
  std::wstring folder;
  try {
    folder = form.program.os.shell.DesktopFolder();
  } catch (const rt::AutomationError&) {
    // The path is then shown without its folder.
  }
  std::wstring name = form.Text3().text();
  if (name.find(L'.') == std::wstring::npos) name += L".xlsx";
  const std::wstring order =
      L"ボタンを[貼り付け開始] →[ファイル名開く] → [貼り付け開始]順で押して下さい。[" + folder +
      L"\\" + name + L"]";
  form.Text2().SetForeColor(ui::colors::kErrorRed);
  if (number != rt::err::kObjectNotSet || form.state.TitleMatch == L"有り") {
    form.Text2().SetText(order);
  } else if (form.state.TitleMatch == L"無し") {
    form.Text2().SetText(
        L"一度、すべてのExcelを閉じ、本ソフトのExcelを先に起動してから、コピー元のファイルを開き直"
        L"してください"
        L"。");
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
