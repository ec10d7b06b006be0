// The three text fields of the main window: filtering, narrowing, hints, stop by mouse press.
#include "core/app/form1.h"
#include "core/ui/layouts.h"
#include "runtime/narrow_form.h"

namespace harumado::app {

// Only the digits 1 to 9 reach the wrap-count field; Backspace and control keys are discarded.
void Form1::Text1_KeyPress(wchar_t& key) {
  if (key < L'1' || key > L'9') key = 0;
}

// Writing back the narrow form raises one more change, which finds nothing to narrow.
void Form1::Text1_Change() {
  std::wstring narrow = rt::ToNarrow(Text1().text());
  if (narrow != Text1().text()) Text1().SetText(narrow);
}

void Form1::Text1_MouseDown() {
  Text1().SetSelection(0, static_cast<int>(Text1().text().size()));
  StopByMousePress();
}

void Form1::Text1_Click() { Text2().SetText(L"縦方向(1-9)毎に自動改行されます。"); }

void Form1::Text3_MouseDown() { StopByMousePress(); }

void Form1::Text3_Click() {
  Text2().SetText(
      L"ファイル名を入力（拡張子なしの場合は自動で .xlsx "
      L"になります）。既存ファイルがあれば開き、なければ新規作成します。");
}

void Form1::Text2_MouseUp() { Text3().SetFocus(); }

// A mouse press in Text1 or Text3 stops pasting without the workbook step; the paste loop sees
// PasteActive at 0 at the end of its cycle.
void Form1::StopByMousePress() {
  state.PasteActive = 0;
  Command5().SetText(L"    ファイル名  開く");
  Command5().SetBackColor(ui::colors::kGreen);
}

}  // namespace harumado::app
