// The program with Excel: the Excel test double stands in for Excel (an out-of-process
// "Excel.Application" over the simulated spreadsheet application) and the voice double for the
// speech service, so that the program's real automation path runs: COM activation, the running
// object table, IDispatch calls across processes, errors, busy refusals, a server that ends.
#include "automation/error_numbers.h"
#include "automation/late_bound_host.h"
#include "excel_support.h"
#include "runtime/automation_error.h"
#include "scenario_support.h"
#include "win32/automation/com_runtime.h"

namespace harumado::harness {
// No Excel runs: the start press on a missing workbook starts Excel (through COM), creates the
// workbook on the Desktop in format 51 and opens it in a visible Excel; pasting is on. Text
// copied by another process then lands in the active cell with the mode's number format, the
// cursor moves right and wraps after two cells; a stop press ends pasting.
void ExcelCreateAndPaste(const std::wstring& program, const std::vector<std::wstring>& args) {
  const Doubles doubles = DoublesFrom(args);
  Expect(CloseAllExcel(), L"no Excel runs at the start");
  ::DeleteFileW(doubles.ExcelLog().c_str());
  const std::wstring name = L"本日の記録";
  const std::wstring path = DesktopFolder() + L"\\" + name + L".xlsx";
  ::DeleteFileW(path.c_str());

  const std::wstring exe =
      PrepareProgram(L"excel-create-and-paste", program, std::string("100,100,2,1,1\r\n"));
  RunningProgram p(exe);
  HWND main = nullptr;
  if (!StartPasting(p, main, name, path)) return;
  ExpectInt(L"the workbook's file format", 51, WorkbookFormat(path).value_or(0));
  const auto log = LogLines(doubles.ExcelLog());
  ExpectInt(L"Excels started (two hidden to create, one shown)", 3,
            CountLinesContaining(log, L"] start"));
  ExpectInt(L"hidden Excels that quit", 2, CountLinesContaining(log, L"] quit"));
  WaitForLines({L"visible 1", L"workbook " + name + L".xlsx|" + path, L"active A1"}, kExcelLimit);

  Expect(CopyTextFromAnotherProcess(L"1,234.5"), L"another process copies a number");
  WaitForLines({L"cell A1 number 1234.5|###0|1235", L"active B1"}, kPasteLimit);
  WaitForText(Main(main, L"Text2"), kIntegerMessage, kPasteLimit);
  Expect(CopyTextFromAnotherProcess(L"東京"), L"another process copies a text");
  WaitForLines({L"cell B1 text 東京|G/標準|東京", L"active A2"}, kPasteLimit);
  // A password manager's copy is neither pasted nor moves the cursor; the next copy lands in
  // the cell it would have taken.
  // Of the two whole cycles after the copy, the second began after it: its look at the clipboard
  // saw the secret, and anything it pasted is in the report.
  Expect(CopyTextFromAnotherProcess(L"s3cret-パス", true), L"another process copies a secret");
  WaitForPasteCycles(main, 2);
  if (auto report = ExpectExcelReport(L"the secret")) {
    Expect(LineStarting(*report, L"cell A2 ").empty(), L"the secret is not pasted");
    Expect(HasLine(*report, L"active A2"), L"the cursor stays after the secret");
  }
  Expect(CopyTextFromAnotherProcess(L"7"), L"another process copies a number again");
  WaitForLines({L"cell A2 number 7|###0|7", L"active B2"}, kPasteLimit);

  PostClick(Main(main, L"Command5"));
  WaitForText(Main(main, L"Command5"), kStoppedCaption, kPasteLimit);
  WaitForText(Main(main, L"Text2"), StoppedMessage(path), kPasteLimit);
  // The stop press opens the workbook again (reading Excel's window once more) and runs one
  // cycle of a loop of its own; the paste loop that dispatched the press ends at the end of its
  // cycle, and a copy after that is not pasted.
  WaitForLines({L"calls Hwnd 2"}, kExcelLimit);
  WaitForPasteLoopEnd(main);
  Expect(CopyTextFromAnotherProcess(L"99"), L"another process copies after the stop");
  // Still no loop runs: none looked at the copy.
  Expect(PasteLoopsRunning(main) == 0, L"no paste loop runs after the copy");
  if (auto report = ExpectExcelReport(L"the copy after the stop")) {
    Expect(LineStarting(*report, L"cell B2 ").empty(), L"nothing is pasted after the stop");
    Expect(HasLine(*report, L"active B2"), L"the cursor stays after the stop");
  }
  CloseAndExpectEnd(p, main);
  CloseAllExcel();
}

// A picture copied by another process in mode 画像□ is pasted at the active cell and stretched
// to it, bound to the cell; the cursor moves on.
void ExcelPicture(const std::wstring& program, const std::vector<std::wstring>& args) {
  DoublesFrom(args);
  Expect(CloseAllExcel(), L"no Excel runs at the start");
  const std::wstring path = DesktopFolder() + L"\\写真.xlsx";
  PutWorkbookOnDesktop(L"写真.xlsx");
  if (!StartVisibleExcel()) return;
  const std::wstring exe =
      PrepareProgram(L"excel-picture", program, std::string("100,100,1,4,1\r\n"));
  RunningProgram p(exe);
  HWND main = nullptr;
  if (!StartPasting(p, main, L"写真", path)) return;
  auto before = ExcelReport();
  if (!Expect(before.has_value(), L"Excel reports")) return;
  // cell-geometry A1 LEFT TOP WIDTH HEIGHT
  const std::wstring geometry = LineStarting(*before, L"cell-geometry A1 ");
  const std::wstring box = geometry.substr(std::wstring(L"cell-geometry A1 ").size());
  Expect(CopyPictureFromAnotherProcess(160, 120), L"another process copies a picture");
  WaitForLines({L"shape 1 " + box + L" 1 0", L"active A2"}, kPasteLimit);
  WaitForText(Main(main, L"Check2"), L"画像□", kPasteLimit);
  WaitForText(Main(main, L"Text2"), kFitPictureMessage, kPasteLimit);
  CloseAndExpectEnd(p, main);
  CloseAllExcel();
}

// Excel quits (its user closes it) while pasting is on: the next copy pastes nothing and the
// paste loop ends with an error shown in red; pasting stays switched on.
void ExcelQuitWhilePasting(const std::wstring& program, const std::vector<std::wstring>& args) {
  DoublesFrom(args);
  Expect(CloseAllExcel(), L"no Excel runs at the start");
  const std::wstring path = DesktopFolder() + L"\\book.xlsx";
  PutWorkbookOnDesktop(L"book.xlsx");
  if (!StartVisibleExcel()) return;
  const std::wstring exe = PrepareProgram(L"excel-quit-while-pasting", program);
  RunningProgram p(exe);
  HWND main = nullptr;
  if (!StartPasting(p, main, L"book", path)) return;
  Expect(CopyTextFromAnotherProcess(L"12"), L"another process copies");
  WaitForLines({L"cell A1 number 12|###0|12", L"active A2"}, kPasteLimit);
  Expect(CloseAllExcel(), L"Excel is closed by its user");
  const std::wstring before = TextOf(Main(main, L"Text2"));
  Expect(CopyTextFromAnotherProcess(L"13"), L"another process copies after Excel ended");
  HWND text2 = Main(main, L"Text2");
  Expect(WaitUntil([&] { return TextOf(text2) != before; }, kPasteLimit),
         L"the program reports the failure");
  // The cursor step after the failed paste meets the gone Excel; its error reaches the press.
  ExpectText(
      L"the message after Excel ended",
      L"ボタンを[貼り付け開始] →[ファイル名開く] → [貼り付け開始]順で押して下さい。[" + path + L"]",
      TextOf(text2));
  Expect(ShowsTextColor(text2, Color{238, 119, 119}), L"the message is red");
  ExpectText(L"the start button keeps the pasting look", kPastingCaption,
             TextOf(Main(main, L"Command5")));
  CloseAndExpectEnd(p, main);
}

// A busy Excel turns the start press's calls away: the program shows its retry message, waits
// and tries again, and once Excel answers the workbook opens and pasting is on.
void ExcelBusy(const std::wstring& program, const std::vector<std::wstring>& args) {
  DoublesFrom(args);
  Expect(CloseAllExcel(), L"no Excel runs at the start");
  const std::wstring path = DesktopFolder() + L"\\book.xlsx";
  PutWorkbookOnDesktop(L"book.xlsx");
  if (!StartVisibleExcel()) return;
  const std::wstring exe = PrepareProgram(L"excel-busy", program);
  RunningProgram p(exe);
  HWND main = StartMain(p);
  if (main == nullptr) return;
  Type(Main(main, L"Text3"), L"book");
  if (!MakeExcelBusy(1500)) return;
  PostClick(Main(main, L"Command5"));
  HWND text2 = Main(main, L"Text2");
  Expect(WaitUntil([&] { return TextOf(text2) == kRetryMessage; }, std::chrono::seconds(5)),
         L"the retry message while Excel is busy");
  // The retry message stays; the workbook opens once Excel answers, and pasting works.
  WaitForText(Main(main, L"Command5"), kPastingCaption, kExcelLimit);
  WaitForLines({L"workbook book.xlsx|" + path, L"calls Hwnd 1"}, kExcelLimit);
  if (auto report = ExpectExcelReport(L"the refused calls")) {
    Expect(LineStarting(*report, L"rejected ") != L"rejected 0", L"Excel refused calls");
  }
  WaitForPasteLoopStart(main);
  Expect(CopyTextFromAnotherProcess(L"42"), L"another process copies");
  WaitForLines({L"cell A1 number 42|###0|42", L"active A2"}, kPasteLimit);
  CloseAndExpectEnd(p, main);
  CloseAllExcel();
}

// The column-fit button fits columns A to E of the running Excel's active sheet to their
// numbers; a text cell is emptied for the fit and gets its content back.
void ExcelColumnFit(const std::wstring& program, const std::vector<std::wstring>& args) {
  DoublesFrom(args);
  Expect(CloseAllExcel(), L"no Excel runs at the start");
  const std::wstring path = DesktopFolder() + L"\\fit.xlsx";
  PutWorkbookOnDesktop(L"fit.xlsx");
  if (!StartVisibleExcel(path)) return;
  // A: numbers with a thousands comma and a long text; B: only text.
  if (!CallExcel(L"HarumadoEnter", {L"A1", L"12345"}) ||
      !CallExcel(L"HarumadoFormat", {L"A1", L"#,##0"}) ||
      !CallExcel(L"HarumadoEnter", {L"A2", L"とても長い見出しの文字列です"}) ||
      !CallExcel(L"HarumadoEnter", {L"B1", L"only text here"}) ||
      !CallExcel(L"HarumadoWidth", {L"A", L"2"})) {
    return;
  }
  const std::wstring exe = PrepareProgram(L"excel-column-fit", program);
  RunningProgram p(exe);
  HWND main = StartMain(p);
  if (main == nullptr) return;
  PostClick(Main(main, L"Command2"));
  WaitForText(Main(main, L"Text2"), L"セル幅が自動調整されました。", kExcelLimit);
  if (auto report = ExpectExcelReport(L"the column fit")) {
    const std::wstring width = LineStarting(*report, L"width A ");
    Expect(!width.empty() && std::stod(width.substr(8)) > 2, L"column A is fitted: " + width);
    Expect(LineStarting(*report, L"width B ").empty(), L"column B keeps its width");
    Expect(
        HasLine(*report,
                L"cell A2 text とても長い見出しの文字列です|G/標準|とても長い見出しの文字列です"),
        L"the text cell got its content back");
    Expect(HasLine(*report, L"cell A1 number 12345|#,##0|12,345"), L"the number stays");
  }
  CloseAndExpectEnd(p, main);
  CloseAllExcel();
}

// Read-aloud with the voice double: the voice list names the double's voices, a copied text is
// spoken as plain text after the previous speech is purged, a text that begins with a tag is
// heard whole, tag and all, and the voice button moves to the next voice.
void ExcelReadAloud(const std::wstring& program, const std::vector<std::wstring>& args) {
  const Doubles doubles = DoublesFrom(args);
  ::DeleteFileW(doubles.VoiceLog().c_str());
  const std::wstring exe =
      PrepareProgram(L"excel-read-aloud", program, std::string("100,100,1,1,1\r\n"));
  RunningProgram p(exe);
  HWND main = StartMain(p);
  if (main == nullptr) return;
  HWND speech = p.FindWindowByCaption(kSpeechCaption);
  if (!Expect(speech != nullptr, L"the speech window exists")) return;
  ExpectText(L"the voice button names the first voice", L"テスト音声 一",
             TextOf(Speech(speech, L"Command1")));
  Click(Main(main, L"Check3"));
  Expect(CopyTextFromAnotherProcess(L"最初の文です"), L"another process copies a text");
  const std::wstring log = doubles.VoiceLog();
  auto spoken = [&](const std::wstring& line) {
    return WaitUntil([&] { return CountLinesContaining(LogLines(log), line) > 0; }, kPasteLimit);
  };
  Expect(spoken(L"speak 17 \"最初の文です\""),
         L"the text is spoken, asynchronously, as plain text");
  // A secret copy is not spoken and does not purge the speech under way (checked by the whole
  // sequence of speech calls below).
  // The change notification was sent to the program before the copying process ended, and
  // sent messages are taken in order: the answer comes once the hook has handled it.
  Expect(CopyTextFromAnotherProcess(L"s3cret-パス", true), L"another process copies a secret");
  Expect(p.Sync(main), L"the program answers after the secret's notification");
  Expect(CopyTextFromAnotherProcess(L"  次の文"), L"another process copies a second text");
  Expect(spoken(L"speak 17 \"  次の文\""), L"the second text is spoken with its spaces");
  const auto lines = LogLines(log);
  // Each text is preceded by a purge of what was being spoken.
  std::vector<std::wstring> speech_lines;
  for (const auto& l : lines) {
    if (l.rfind(L"speak ", 0) == 0) speech_lines.push_back(l);
  }
  const std::vector<std::wstring> expected = {L"speak 2 \"\"", L"speak 17 \"最初の文です\"",
                                              L"speak 2 \"\"", L"speak 17 \"  次の文\""};
  Expect(speech_lines == expected, L"purge, speak, purge, speak");
  ExpectInt(L"volume set at load", 1, CountLinesContaining(lines, L"volume 100"));
  // A volume tag at the start of a copied text is read out like the rest of it: the voice hears
  // the whole text.
  const std::wstring tagged = L"<volume level='0'/>小さくしないで読む";
  Expect(CopyTextFromAnotherProcess(tagged), L"another process copies a text with a volume tag");
  Expect(spoken(L"speak 17 \"" + tagged + L"\""), L"the tagged text is spoken as plain text");
  Expect(spoken(L"heard \"" + tagged + L"\""), L"the whole tagged text is heard");
  Click(Speech(speech, L"Command1"));
  WaitForText(Speech(speech, L"Command1"), L"テスト音声 二", kPasteLimit);
  Expect(spoken(L"voice テスト音声 二"), L"the voice is changed");
  CloseAndExpectEnd(p, main);
}

// Closing the main window while pasting is on: the shutdown stops pasting, the program ends
// and writes its settings; Excel is left running with the workbook open.
void ExcelCloseWhilePasting(const std::wstring& program, const std::vector<std::wstring>& args) {
  DoublesFrom(args);
  Expect(CloseAllExcel(), L"no Excel runs at the start");
  const std::wstring path = DesktopFolder() + L"\\book.xlsx";
  PutWorkbookOnDesktop(L"book.xlsx");
  if (!StartVisibleExcel()) return;
  const std::wstring exe = PrepareProgram(L"excel-close-while-pasting", program);
  RunningProgram p(exe);
  HWND main = nullptr;
  if (!StartPasting(p, main, L"book", path)) return;
  CloseAndExpectEnd(p, main);
  Expect(FileExists(SettingsPathBeside(exe)), L"the settings file is written");
  if (auto report = ExpectExcelReport(L"Excel after the program ended")) {
    Expect(HasLine(*report, L"visible 1"), L"Excel keeps running");
    Expect(HasLine(*report, L"workbook book.xlsx|" + path), L"the workbook stays open");
  }
  CloseAllExcel();
}

}  // namespace harumado::harness

namespace harumado::harness {

// The automation path by itself, as the program's host uses it: every CreateObject starts an
// Excel of its own (hidden, not the running one), member identifiers looked up in the first one
// serve the later ones, and failures reach the caller with the numbers the program tests:
// nothing running 429, Excel's own error 1004, a call to an Excel that has quit 0x800706BA (or
// the call failing as the process ends, 0x800706BE).
void ExcelAutomation(const std::wstring&, const std::vector<std::wstring>& args) {
  const Doubles doubles = DoublesFrom(args);
  Expect(CloseAllExcel(), L"no Excel runs at the start");
  ::DeleteFileW(doubles.ExcelLog().c_str());
  win32::ComApartment apartment;
  win32::ComRuntime runtime;
  automation::LateBoundHost host(runtime);
  auto error_of = [](auto&& call) {
    try {
      call();
    } catch (const rt::AutomationError& e) {
      return e.number();
    }
    return 0;
  };
  ExpectInt(L"attaching with no Excel running", 429, error_of([&] { host.GetActiveObject(); }));
  std::vector<platform::WindowHandle> windows;
  for (int round = 0; round < 3; ++round) {
    std::unique_ptr<platform::ExcelApplication> app;
    ExpectInt(L"CreateObject", 0, error_of([&] { app = host.CreateObject(); }));
    if (!app) return;
    windows.push_back(app->Hwnd());
    ExpectInt(L"attaching to a hidden Excel", 429, error_of([&] { host.GetActiveObject(); }));
    ExpectInt(L"opening a missing workbook", 1004,
              error_of([&] { app->OpenWorkbook(DesktopFolder() + L"\\no such book.xlsx"); }));
    std::unique_ptr<platform::ExcelWorkbook> book;
    ExpectInt(L"Workbooks.Add", 0, error_of([&] { book = app->AddWorkbook(); }));
    if (book) ExpectText(L"a new Excel's first workbook", L"Book1", book->Name());
    // Quit may itself fail as the server process ends before its answer comes back.
    const std::int32_t quit = error_of([&] { app->Quit(); });
    Expect(quit == 0 || automation::IsServerGone(quit),
           L"Quit ends the Excel: " + rt::ErrorNumberText(quit));
    const std::int32_t after_quit = error_of([&] { app->Hwnd(); });
    // The server unavailable (0x800706BA), or the call failing as the process ends under it
    // (0x800706BE, or 0x800706B5 when its interfaces have already gone).
    Expect(automation::IsServerGone(after_quit),
           L"a call to an Excel that has quit fails as a gone server's: " +
               rt::ErrorNumberText(after_quit));
  }
  Expect(windows.size() == 3 && windows[0] != windows[1] && windows[1] != windows[2],
         L"each CreateObject started an Excel of its own");
  Expect(WaitUntil([&] { return ExcelWindow() == nullptr; }, std::chrono::seconds(10)),
         L"every Excel ended after its Quit");
  const auto log = LogLines(doubles.ExcelLog());
  ExpectInt(L"Excels started", 3, CountLinesContaining(log, L"] start"));
  ExpectInt(L"Excels ended", 3, CountLinesContaining(log, L"] exit"));
  Expect(runtime.known_members() > 0, L"member identifiers were kept");
}

}  // namespace harumado::harness
