// The main window's fields and the mode selector, driven by mouse and keyboard messages.
#include "scenario_support.h"

namespace harumado::harness {

void InputFields(const std::wstring& program, const std::vector<std::wstring>&) {
  const std::wstring exe = PrepareProgram(L"input-fields", program);
  RunningProgram p(exe);
  HWND main = StartMain(p);
  if (main == nullptr) return;
  HWND text1 = Main(main, L"Text1");
  HWND text2 = Main(main, L"Text2");
  HWND text3 = Main(main, L"Text3");

  // Only the digits 1 to 9 get into the wrap field.
  const wchar_t refused[] = {L'0', L'a', L'-', L'\b', 0x16 /* Ctrl+V */, L'１'};
  for (wchar_t ch : refused) {
    TypeChar(text1, ch);
    ExpectText(L"Text1 after typing U+" + std::to_wstring(static_cast<int>(ch)), L"1",
               TextOf(text1));
  }
  Click(text1);
  ExpectText(L"Text2 after a click in Text1", L"縦方向(1-9)毎に自動改行されます。", TextOf(text2));
  const auto selection = Selection(text1);
  ExpectInt(L"selection start after a press in Text1", 0, selection.first);
  ExpectInt(L"selection end after a press in Text1", 1, selection.second);
  TypeChar(text1, L'5');
  ExpectText(L"Text1 after typing 5 over the selection", L"5", TextOf(text1));

  // The field's own paste: full-width digits become half-width.
  Expect(CopyText(L"１２"), L"full-width digits copied");
  Click(text1);
  ::SendMessageTimeoutW(text1, WM_PASTE, 0, 0, SMTO_NORMAL, 5000, nullptr);
  ExpectText(L"Text1 after pasting full-width digits", L"12", TextOf(text1));

  // Delete empties the selected text.
  Click(text1);
  KeyDown(text1, VK_DELETE);
  ExpectText(L"Text1 after Delete", L"", TextOf(text1));
  TypeChar(text1, L'7');
  ExpectText(L"Text1 after typing 7", L"7", TextOf(text1));

  // The file-name field takes any text and shows its hint on a click.
  Click(text3);
  ExpectText(L"Text2 after a click in Text3",
             L"ファイル名を入力（拡張子なしの場合は自動で .xlsx "
             L"になります）。既存ファイルがあれば開き、なければ新規作成します。",
             TextOf(text2));
  for (wchar_t ch : std::wstring(L"売上-1.xlsx")) TypeChar(text3, ch);
  ExpectText(L"Text3 after typing", L"売上-1.xlsx", TextOf(text3));
  ExpectText(L"Command5 after a press in Text3", kStoppedCaption, TextOf(Main(main, L"Command5")));

  // The message field cannot be edited; releasing the mouse over it puts the focus in Text3.
  Click(Main(main, L"Text1"));
  Expect(FocusedControl(main) == text1, L"focus in Text1 after its click");
  const std::wstring message = TextOf(text2);
  Click(text2);
  Expect(FocusedControl(main) == text3, L"focus in Text3 after a click in Text2");
  TypeChar(text2, L'x');
  ExpectText(L"Text2 after typing into it", message, TextOf(text2));
  CloseAndExpectEnd(p, main);
}

// Each click on Check2 moves to the next paste mode; the box stays ticked.
void ModeSelector(const std::wstring& program, const std::vector<std::wstring>&) {
  const std::wstring exe = PrepareProgram(L"mode-selector", program);
  RunningProgram p(exe);
  HWND main = StartMain(p);
  if (main == nullptr) return;
  HWND check2 = Main(main, L"Check2");
  const struct {
    const wchar_t* caption;
    const wchar_t* message;
  } cycle[] = {{L"数値", kNumberMessage},
               {L"画像", kPictureMessage},
               {L"画像□", kFitPictureMessage},
               {L"整数", kIntegerMessage},
               {L"数値", kNumberMessage}};
  for (const auto& step : cycle) {
    Click(check2);
    ExpectText(L"Check2 caption", step.caption, TextOf(check2));
    ExpectText(std::wstring(L"Text2 for ") + step.caption, step.message,
               TextOf(Main(main, L"Text2")));
    Expect(Checked(check2), std::wstring(L"Check2 ticked with ") + step.caption);
  }
  CloseAndExpectEnd(p, main);
  auto bytes = ReadFileBytes(SettingsPathBeside(exe));
  const std::wstring line = bytes ? Printable(*bytes) : L"";
  Expect(line.size() > 10 && line.substr(line.size() - 8) == L",2,1\\r\\n",
         L"settings file ends with mode 2 and topmost 1: " + line);
}

}  // namespace harumado::harness
