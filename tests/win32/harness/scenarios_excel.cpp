// Without Excel on the machine: the start button reports it and the program goes on.
#include "scenario_support.h"

namespace harumado::harness {

void ExcelMissing(const std::wstring& program, const std::vector<std::wstring>&) {
  const std::wstring exe = PrepareProgram(L"excel-missing", program);
  RunningProgram p(exe);
  HWND main = StartMain(p);
  if (main == nullptr) return;
  HWND text3 = Main(main, L"Text3");
  Click(text3);
  for (wchar_t ch : std::wstring(L"test")) TypeChar(text3, ch);
  Click(Main(main, L"Command5"));
  // The attach fails, starting an instance fails too: the press reports it in red.
  wchar_t* desktop = nullptr;
  ::SHGetKnownFolderPath(FOLDERID_Desktop, 0, nullptr, &desktop);
  const std::wstring path = std::wstring(desktop != nullptr ? desktop : L"") + L"\\test.xlsx";
  ::CoTaskMemFree(desktop);
  HWND text2 = Main(main, L"Text2");
  ExpectText(
      L"Text2 without Excel",
      L"ボタンを[貼り付け開始] →[ファイル名開く] → [貼り付け開始]順で押して下さい。[" + path + L"]",
      TextOf(text2));
  Expect(WaitUntil(
             [&] {
               return ShowsTextColor(text2, Color{238, 119, 119});
             },
             kFollowLimit),
         L"Text2 shows the message in the error colour");
  Expect(!ShowsTextColor(text2, Color{0, 0, 255}), L"no blue text left in Text2");
  Expect(p.Sync(main), L"the program goes on");
  SaveScreenShot(main, L"excel-missing");
  CloseAndExpectEnd(p, main);
}

}  // namespace harumado::harness
