// Start-up and shutdown of the real program: first run, restored settings, the version gate,
// a second instance, the settings file written on close and its fallback folder.
#include <cstdio>

#include "scenario_support.h"

namespace harumado::harness {
namespace {

constexpr Color kLightGreen{192, 255, 192};
constexpr Color kGreen{0, 255, 0};
constexpr Color kCyan{0, 255, 255};
constexpr Color kWhite{255, 255, 255};
constexpr Color kBlue{0, 0, 255};
constexpr Color kTextGreen{0, 192, 0};

std::wstring SettingsLine(const Rect& r, int wrap, int mode, int topmost) {
  return std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"," + std::to_wstring(wrap) +
         L"," + std::to_wstring(mode) + L"," + std::to_wstring(topmost) + L"\\r\\n";
}

std::wstring FileText(const std::wstring& path) {
  auto bytes = ReadFileBytes(path);
  return bytes ? Printable(*bytes) : L"<no file>";
}

// The screen may still be catching up with the last change: the colour is looked at again for
// a moment before the expectation fails.
void ExpectColor(const std::wstring& what, const Color& expected,
                 const std::function<Color()>& look) {
  Color got = look();
  WaitUntil([&] { return Near(expected, got = look(), 8); }, kFollowLimit);
  if (!Near(expected, got, 8)) Fail(what, ColorText(expected), ColorText(got));
}

void ExpectTextColor(const std::wstring& what, HWND control, const Color& color) {
  Expect(WaitUntil([&] { return ShowsTextColor(control, color); }, kFollowLimit), what);
}

}  // namespace

// The first start: no settings file, the layout's state with the start-up's changes.
void FirstRun(const std::wstring& program, const std::vector<std::wstring>&) {
  const std::wstring exe = PrepareProgram(L"first-run", program);
  RunningProgram p(exe);
  HWND main = StartMain(p);
  if (main == nullptr) return;

  // The layout in twips at 96 DPI: the client area at 12465, 3495 and 3915 x 1395 twips.
  const Rect client = ClientRectOnScreen(main);
  ExpectInt(L"client left", 831, client.left);
  ExpectInt(L"client top", 233, client.top);
  ExpectInt(L"client width", 261, client.width());
  ExpectInt(L"client height", 93, client.height());
  ExpectText(L"caption", kMainCaption, TextOf(main));
  Expect((Style(main) & WS_MINIMIZEBOX) != 0, L"minimize button");
  Expect((Style(main) & (WS_MAXIMIZEBOX | WS_THICKFRAME)) == 0, L"no maximize, fixed frame");

  const struct {
    const wchar_t* control;
    const wchar_t* text;
  } texts[] = {
      {L"Text1", L"1"},
      {L"Text2", kTopmostMessage},
      {L"Text3", L""},
      {L"Label1", L"ファイル名"},
      {L"列", L"列"},
      {L"Command5", kStoppedCaption},
      {L"Command8", L"1.ファイル名を入力\r\n2.開始ボタン　　　　"},
      {L"Command10", L"使い方"},
      {L"Check2", L"整数"},
      {L"Check3", L"読上"},
      {L"Command1", L""},
      {L"Command2", L""},
      {L"Check4", L""},
  };
  for (const auto& t : texts)
    ExpectText(std::wstring(t.control) + L" text", t.text, TextOf(Main(main, t.control)));
  Expect(Checked(Main(main, L"Check2")), L"Check2 ticked");
  Expect(!Checked(Main(main, L"Check3")), L"Check3 unticked");
  Expect(Checked(Main(main, L"Check4")), L"Check4 ticked");
  ExpectText(L"Check4 tooltip", kTopmostTip, TooltipOf(main, Main(main, L"Check4"), p.pid()));
  ExpectText(L"Command2 tooltip", L"列幅の自動調整",
             TooltipOf(main, Main(main, L"Command2"), p.pid()));

  // Both side windows exist hidden, and all three are topmost.
  HWND usage = p.FindWindowByCaption(kUsageCaption);
  HWND speech = p.FindWindowByCaption(kSpeechCaption);
  Expect(usage != nullptr && !::IsWindowVisible(usage), L"usage window exists hidden");
  Expect(speech != nullptr && !::IsWindowVisible(speech), L"speech window exists hidden");
  Expect(IsTopmost(main), L"main window topmost");
  Expect(IsTopmost(usage), L"usage window topmost");
  Expect(IsTopmost(speech), L"speech window topmost");
  Expect(p.FindWindowByCaption(L"確認") == nullptr, L"no version message on Windows 10");

  Expect(FocusedControl(main) == Main(main, L"Text3"), L"focus in Text3");
  HWND text2 = Main(main, L"Text2");
  Expect((Style(text2) & ES_READONLY) != 0, L"Text2 read-only");
  Expect((Style(text2) & ES_MULTILINE) != 0, L"Text2 multi-line");
  Expect((Style(text2) & WS_HSCROLL) != 0, L"Text2 horizontal scroll bar");
  // Command8 lies below the visible client area.
  Expect(WindowRect(Main(main, L"Command8")).top >= client.bottom,
         L"Command8 below the client area");

  // What the screen shows.
  Expect(WaitUntil([&] { return Near(WindowBackColor(main), kLightGreen, 8); },
                   std::chrono::seconds(3)),
         L"main window painted");
  ExpectColor(L"main window back", kLightGreen, [&] { return WindowBackColor(main); });
  const struct {
    const wchar_t* control;
    Color back;
  } backs[] = {
      {L"Command5", kGreen},    {L"Command10", kLightGreen}, {L"Command2", kCyan},
      {L"Label1", kLightGreen}, {L"Check2", kLightGreen},    {L"Check3", kLightGreen},
      {L"Text2", kWhite},       {L"Text1", kWhite},
  };
  for (const auto& b : backs) {
    HWND control = Main(main, b.control);
    ExpectColor(std::wstring(b.control) + L" back colour", b.back,
                [control] { return BackColorOf(control); });
  }
  HWND command1 = Main(main, L"Command1");
  ExpectColor(L"Command1 back colour around its picture", kLightGreen,
              [command1] { return CornerColorOf(command1); });
  ExpectTextColor(L"Text2 text blue", text2, kBlue);
  ExpectTextColor(L"Text1 text green", Main(main, L"Text1"), kTextGreen);
  ExpectTextColor(L"Command1 shows its picture", command1, Color{0, 64, 0});
  Expect(TitleBarShows(main, Color{176, 122, 60}) && TitleBarShows(main, Color{29, 122, 62}),
         L"the clipboard icon with its green badge in the title bar");

  // The keyboard moves through the controls in the layout's tab order.
  const wchar_t* order[] = {L"Text1",  L"Command5",  L"Command8", L"Text2",
                            L"Text3",  L"Command10", L"Command1", L"Check2",
                            L"Check3", L"Command2",  L"Check4"};
  HWND at = Main(main, order[0]);
  for (std::size_t i = 1; i < std::size(order); ++i) {
    at = ::GetNextDlgTabItem(main, at, FALSE);
    Expect(at == Main(main, order[i]), std::wstring(L"tab order: ") + order[i]);
  }

  const Rect outer = WindowRect(main);
  CloseAndExpectEnd(p, main);
  ExpectText(L"settings file after the first run", SettingsLine(outer, 1, 1, 1),
             FileText(SettingsPathBeside(exe)));
}

// Start-up with a settings file: each file restores its place, wrap count, mode and z-order.
void SettingsRestored(const std::wstring& program, const std::vector<std::wstring>&) {
  const struct {
    const char* file;
    Rect outer;  // where the main window stands (width 268, height 123)
    const wchar_t* text1;
    const wchar_t* check2;
    bool topmost;
    const wchar_t* text2;
  } cases[] = {
      {"120,80,3,2,0\r\n", {120, 80, 388, 203}, L"3", L"数値", false, kNumberMessage},
      {"", {0, 0, 268, 123}, L"1", L"整数", false, kIntegerMessage},
      {"-20,40,0,3,1", {-20, 40, 248, 163}, L"1", L"画像", true, kPictureMessage},
      {"300\r\n200\r\n12\r\n4\r\n1\r\n",
       {300, 200, 568, 323},
       L"12",
       L"画像□",
       true,
       kFitPictureMessage},
  };
  for (const auto& c : cases) {
    const std::wstring label = L"settings [" + Printable(c.file) + L"]: ";
    const std::wstring exe = PrepareProgram(L"settings-restored", program, std::string(c.file));
    RunningProgram p(exe);
    HWND main = StartMain(p);
    if (main == nullptr) return;
    const Rect r = WindowRect(main);
    ExpectInt(label + L"left", c.outer.left, r.left);
    ExpectInt(label + L"top", c.outer.top, r.top);
    ExpectInt(label + L"width", c.outer.width(), r.width());
    ExpectInt(label + L"height", c.outer.height(), r.height());
    ExpectText(label + L"Text1", c.text1, TextOf(Main(main, L"Text1")));
    ExpectText(label + L"Check2", c.check2, TextOf(Main(main, L"Check2")));
    ExpectInt(label + L"Check4", c.topmost, Checked(Main(main, L"Check4")));
    ExpectText(label + L"Check4 tooltip", c.topmost ? kTopmostTip : kBottomTip,
               TooltipOf(main, Main(main, L"Check4"), p.pid()));
    ExpectInt(label + L"main topmost", c.topmost, IsTopmost(main));
    ExpectInt(label + L"speech topmost", c.topmost,
              IsTopmost(p.FindWindowByCaption(kSpeechCaption)));
    ExpectText(label + L"Text2", c.text2, TextOf(Main(main, L"Text2")));
    CloseAndExpectEnd(p, main);
  }
}

// An older Windows (wine told to be Windows 7 for this program file) gets the version message,
// and the program ends when it is closed, writing nothing.
void VersionGate(const std::wstring& program, const std::vector<std::wstring>&) {
  const std::wstring name = L"harumado-win7.exe";
  HKEY key = nullptr;
  const std::wstring path = L"Software\\Wine\\AppDefaults\\" + name;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) == ERROR_SUCCESS) {
    const wchar_t version[] = L"win7";
    ::RegSetValueExW(key, L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                     sizeof version);
    ::RegCloseKey(key);
  }
  const std::wstring exe = PrepareProgram(L"version-gate", program, std::nullopt, name);
  RunningProgram p(exe);
  HWND box = nullptr;
  WaitUntil(
      [&] {
        box = ::FindWindowW(L"#32770", L"確認");
        DWORD pid = 0;
        if (box != nullptr) ::GetWindowThreadProcessId(box, &pid);
        return box != nullptr && pid == p.pid() && ::IsWindowVisible(box);
      },
      kStartLimit);
  if (!Expect(box != nullptr, L"version message shown")) return;
  HWND main = p.FindWindowByCaption(kMainCaption);
  Expect(main != nullptr && ::IsWindowVisible(main), L"main window shown behind the message");
  HWND text = ::GetDlgItem(box, 0xFFFF);
  ExpectText(L"version message", L"利用可能なWindowsは10/11です。", TextOf(text));
  HWND ok = ::GetDlgItem(box, IDOK);
  Expect(ok != nullptr, L"the message box has an OK button");
  ::PostMessageW(ok, BM_CLICK, 0, 0);
  if (!Expect(p.Exited(kEndLimit), L"the program ends after the version message")) {
    p.Kill();
  }
  Expect(!FileExists(SettingsPathBeside(exe)), L"no settings file after the version message");
}

// A second start of the same program file ends at once; the first goes on undisturbed. The
// same program in another folder is another program file and starts.
void SecondInstance(const std::wstring& program, const std::vector<std::wstring>&) {
  const std::wstring exe = PrepareProgram(L"second-instance", program);
  RunningProgram first(exe);
  HWND main = StartMain(first);
  if (main == nullptr) return;
  const std::wstring message = TextOf(Main(main, L"Text2"));
  {
    RunningProgram second(exe);
    Expect(second.Exited(kEndLimit), L"the second instance ends by itself");
    ExpectInt(L"second instance exit code", 0, second.ExitCode());
  }
  Expect(first.Sync(main), L"the first instance still answers");
  Expect(::IsWindowVisible(main) != FALSE, L"the first instance still shows its window");
  ExpectText(L"the first instance's message", message, TextOf(Main(main, L"Text2")));

  const std::wstring other_folder = TempFolder(L"second-instance-other");
  const std::wstring other_exe = other_folder + L"\\harumado.exe";
  CopyProgram(program, other_exe);
  {
    RunningProgram other(other_exe);
    HWND other_main = StartMain(other);
    Expect(other_main != nullptr, L"a copy in another folder starts");
    if (other_main != nullptr) CloseAndExpectEnd(other, other_main);
  }
  CloseAndExpectEnd(first, main);
}

// The settings of a session are written on close and restored at the next start; a close with
// an empty wrap field keeps the old file.
void SettingsWritten(const std::wstring& program, const std::vector<std::wstring>&) {
  const std::wstring exe = PrepareProgram(L"settings-written", program);
  {
    RunningProgram p(exe);
    HWND main = StartMain(p);
    if (main == nullptr) return;
    HWND text1 = Main(main, L"Text1");
    Click(text1);  // selects the whole text
    TypeChar(text1, L'4');
    Click(Main(main, L"Check2"));  // 整数 -> 数値
    Click(Main(main, L"Check4"));  // topmost off
    MoveTo(main, 200, 150);
    p.Sync(main);
    ExpectText(L"Text1 before closing", L"4", TextOf(text1));
    CloseAndExpectEnd(p, main);
  }
  ExpectText(L"settings file", L"200,150,4,2,0\\r\\n", FileText(SettingsPathBeside(exe)));
  {
    RunningProgram p(exe);
    HWND main = StartMain(p);
    if (main == nullptr) return;
    const Rect r = WindowRect(main);
    ExpectInt(L"restored left", 200, r.left);
    ExpectInt(L"restored top", 150, r.top);
    ExpectText(L"restored Text1", L"4", TextOf(Main(main, L"Text1")));
    ExpectText(L"restored Check2", L"数値", TextOf(Main(main, L"Check2")));
    Expect(!Checked(Main(main, L"Check4")), L"restored Check4 unticked");
    HWND text1 = Main(main, L"Text1");
    Click(text1);
    KeyDown(text1, VK_DELETE);
    ExpectText(L"Text1 emptied", L"", TextOf(text1));
    MoveTo(main, 10, 10);
    CloseAndExpectEnd(p, main);
  }
  ExpectText(L"settings file kept after a close with an empty wrap field", L"200,150,4,2,0\\r\\n",
             FileText(SettingsPathBeside(exe)));
}

// The program's folder takes no file (the test script made it so): the settings go to the
// user's application-data folder, and the next start reads them from there.
void FallbackFolder(const std::wstring&, const std::vector<std::wstring>& args) {
  if (!Expect(!args.empty(), L"the read-only program folder is given")) return;
  const std::wstring exe = WindowsPath(args[0]) + L"\\harumado.exe";
  RemoveTree(AppDataFolder() + L"\\Harumado");
  {
    RunningProgram p(exe);
    HWND main = StartMain(p);
    if (main == nullptr) return;
    MoveTo(main, 300, 200);
    p.Sync(main);
    CloseAndExpectEnd(p, main);
  }
  Expect(!FileExists(SettingsPathBeside(exe)), L"no settings file in the read-only folder");
  ExpectText(L"settings file in the fallback folder", L"300,200,1,1,1\\r\\n",
             FileText(FallbackSettingsPath()));
  {
    RunningProgram p(exe);
    HWND main = StartMain(p);
    if (main == nullptr) return;
    const Rect r = WindowRect(main);
    ExpectInt(L"left restored from the fallback folder", 300, r.left);
    ExpectInt(L"top restored from the fallback folder", 200, r.top);
    ExpectText(L"Text2 with restored settings", kIntegerMessage, TextOf(Main(main, L"Text2")));
    CloseAndExpectEnd(p, main);
  }
}

}  // namespace harumado::harness
