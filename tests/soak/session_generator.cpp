#include "soak/session_generator.h"

#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "soak/scenario_text.h"

namespace harumado::soak {
namespace {

// splitmix64: the same numbers on every platform and standard library.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // 0 to n - 1.
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }
  int Between(int low, int high) { return low + Below(high - low + 1); }
  bool Percent(int p) { return Below(100) < p; }
  template <typename T, std::size_t N>
  const T& Pick(const std::array<T, N>& items) {
    return items[static_cast<std::size_t>(Below(static_cast<int>(N)))];
  }

 private:
  std::uint64_t state_;
};

constexpr std::array<std::wstring_view, 24> kTexts = {
    L"abc",
    L"あいうえお",
    L"",
    L" ",
    L"a\tb\r\nc",
    L"<speak>tag</speak>",
    L"=SUM(A1:A3)",
    L"'quoted",
    L"\"q\"",
    L"1月2日",
    L"12:30",
    L"2026/12/11",
    L"TRUE",
    L"#N/A",
    L"\u25A1\u00A5\uFFE5",
    L"\U0001F600 emoji",
    L"\x01\x02 control",
    L"line\nbreak\nmany\nlines",
    L"東京都千代田区",
    L"a,b,c",
    L"x\\y",
    L"@",
    L"-",
    L"1-2-3",
};

constexpr std::array<std::wstring_view, 24> kNumbers = {
    L"123",
    L"1,234.5",
    L"-42",
    L"(7)",
    L"\\100",
    L"100\\",
    L"１２３",
    L"1e5",
    L"0.000001",
    L"2147483648",
    L"-0",
    L"3.14159265358979",
    L"1E+308",
    L"&H7FFF",
    L"12%",
    L"0012",
    L" 5 ",
    L"1,2,3",
    L"99999999999999999999",
    L"0.5",
    L"2.5",
    L"-2147483649",
    L"\u00A5500",
    L"1.5.5",
};

constexpr std::array<std::wstring_view, 16> kWorkbookNames = {
    L"book", L"book.xlsx", L"b.xlsm",    L"c.xls", L"d.xlsb", L"bad.txt", L"a.b.c",      L"..\\up",
    L"con",  L"x?y",       L"book.XLSX", L"名簿",  L"e.xlsx", L"book ",   L"\\\\srv\\s", L"f",
};

constexpr std::array<std::wstring_view, 14> kWrapTexts = {
    L"1",   L"3", L"9",           L"0",  L"-1",  L"12", L"abc",
    L"2.5", L"",  L"99999999999", L"１", L"1e3", L" 4", L"&H2"};

constexpr std::array<std::wstring_view, 16> kOperations = {
    L"CreateObject",     L"GetActiveObject", L"Visible",        L"Workbooks.Open",
    L"Workbooks.Add",    L"SaveAs",          L"Name",           L"Hwnd",
    L"ClipboardFormats", L"Paste",           L"Pictures.Paste", L"Shapes",
    L"ActiveCell",       L"Offset",          L"Cells",          L"Columns"};

constexpr std::array<std::string_view, 7> kErrors = {"1004", "0x800706BA", "0x80010001", "13",
                                                     "91",   "0x80080005", "438"};

constexpr std::array<std::wstring_view, 8> kFormats = {
    L"G/標準", L"0.00", L"#,##0", L"@", L"yyyy/mm/dd", L"0%", L"[赤]0;-0", L"\"円\"0"};

constexpr std::array<std::string_view, 4> kViewers = {"Notes", "Clipper", "History", "Sync"};

std::string Number(long long v) { return std::to_string(v); }

// What the generator knows of the session, so that every step it writes can be taken: the
// side windows that are shown, the viewers in the chain, the settings file's content.
struct Model {
  bool usage_open = false;  // the usage button's flag, which flips at every press
  bool usage_shown = false;
  bool speech_shown = false;              // Check3 ticked
  std::vector<std::string_view> viewers;  // those in the chain that still answer
  std::optional<std::string> settings;    // the file's bytes as the session set them
  // Excel's active instance surely has a workbook open (statements on its sheet can be taken);
  // after a press of the start button it may have one too.
  bool sheet = false;
  bool sheet_writable = true;
};

class Writer {
 public:
  Writer(std::uint64_t seed, const GeneratorOptions& options)
      : rng_(seed), options_(options), seed_(seed) {}

  Session Generate() {
    Line("# A generated session, seed " + std::to_string(seed_) + ".");
    Setup();
    Line("start");
    const int steps = rng_.Between(options_.min_steps, options_.max_steps);
    Invariants();
    for (int i = 0; i < steps; ++i) {
      Line("wait " + Number(WaitTime()));
      if (Step()) break;  // the main window was closed
      Invariants();
      ++session_.steps;
    }
    if (!closed_) Line("close Form1");
    ++session_.steps;
    Ending();
    return std::move(session_);
  }

 private:
  void Line(const std::string& s) { session_.text += s + "\n"; }
  std::string Text(std::wstring_view t) { return ScenarioString(t); }

  int WaitTime() {
    switch (rng_.Below(6)) {
      case 0:
        return 0;
      case 1:
        return rng_.Between(1, 50);
      case 2:
        return rng_.Between(450, 550);  // about one turn of the paste loop
      case 3:
        return rng_.Between(900, 2100);  // about a busy wait
      default:
        return rng_.Between(50, 600);
    }
  }

  std::wstring AnyText() {
    if (rng_.Percent(10))
      return std::wstring(static_cast<std::size_t>(rng_.Between(100, 400)), L'長');
    return std::wstring(rng_.Percent(50) ? rng_.Pick(kTexts) : rng_.Pick(kNumbers));
  }

  std::string SettingsLine() {
    auto place = [&] {
      switch (rng_.Below(4)) {
        case 0:
          return Number(rng_.Between(-3000, 3000));
        case 1:
          return Number(rng_.Percent(50) ? 2147483647LL - rng_.Below(300)
                                         : -2147483648LL + rng_.Below(300));
        case 2:
          return std::string(rng_.Percent(50) ? "abc" : "1E+3");
        default:
          return Number(rng_.Between(0, 1700));
      }
    };
    std::string line = place() + "," + place() + "," + Number(rng_.Between(-2, 12)) + "," +
                       Number(rng_.Between(-1, 5)) + "," + Number(rng_.Between(-1, 2));
    return line + (rng_.Percent(80) ? "\r\n" : "");
  }

  std::string GarbageBytes() {
    static constexpr std::string_view kPieces[] = {"1",  ",", "\r\n", "\"",          " ",
                                                   "-",  "x", "\n",   "99999999999", "\t",
                                                   "&H", ".", "\x01", "\xFF"};
    std::string out;
    const int n = rng_.Between(0, 12);
    for (int i = 0; i < n; ++i) out += kPieces[rng_.Below(14)];
    return out;
  }

  // Bytes as a scenario string: every byte below 256 stands for itself.
  std::string BytesString(const std::string& bytes) {
    std::wstring wide;
    for (const char c : bytes) wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    return ScenarioString(wide);
  }

  void Setup() {
    switch (rng_.Below(10)) {
      case 0:
      case 1:
      case 2:
      case 3:
        model_.settings = SettingsLine();
        break;
      case 4:
      case 5:
        model_.settings = GarbageBytes();
        break;
      case 6:
        Line("settings unreadable");
        model_.settings = "";  // the file is there, empty, and cannot be opened
        unreadable_ = true;
        break;
      default:
        break;
    }
    if (model_.settings && !unreadable_) Line("settings " + BytesString(*model_.settings));
    if (rng_.Percent(10)) Line("fail settings write");
    if (rng_.Percent(10)) Line("fail settings delete");
    const bool running = rng_.Percent(60);
    if (running) Line("excel running");
    if (rng_.Percent(50)) {
      const bool open = running && rng_.Percent(70);
      Line("workbook \"book.xlsx\"" + std::string(open ? " open" : ""));
      model_.sheet = open;
    }
    if (rng_.Percent(10)) Line("speech unavailable");
    if (rng_.Percent(10)) Line("voices none");
    if (rng_.Percent(20)) Line("clipboard text " + Text(AnyText()));
    if (rng_.Percent(10)) Line("monitor 1920 0 1280 1024");
  }

  // After every step: the program runs, and the viewer chain is whole.
  void Invariants() {
    Line("expect running");
    Line("expect chain-intact");
  }

  // The end: the program has ended, holds no Excel object, left the chain and the settings
  // file is the old one or a valid new one.
  void Ending() {
    Line("wait 60000");
    Line("expect exited");
    Line("expect excel objects 0");
    Line("expect unhooked");
    Line("expect chain-intact");
    Line(std::string("expect settings-intact ") +
         (model_.settings ? BytesString(*model_.settings) : std::string("absent")));
  }

  static constexpr std::array<std::string_view, 13> kMainControls = {
      "Command5", "Command8", "Command10", "Command1", "Command2", "Check2",  "Check3",
      "Check4",   "Text1",    "Text2",     "Text3",    "Label1",   "Command5"};

  // Whether to write a statement on Excel's active sheet: surely there, or perhaps opened by a
  // press (a session that finds none there ends at that statement).
  bool SheetStep() { return model_.sheet || (pressed_ && rng_.Percent(4)); }

  void Click(std::string_view control) {
    Line("click " + std::string(control));
    if (control == "Command5") pressed_ = true;
    if (control == "Command10") {
      model_.usage_open = !model_.usage_open;
      model_.usage_shown = model_.usage_open;
    } else if (control == "Check3") {
      model_.speech_shown = !model_.speech_shown;
    }
  }

  // One step; true when it closed the main window.
  bool Step() {
    switch (rng_.Below(32)) {
      case 0:
      case 1:
      case 2:
        Line("copy text " + Text(rng_.Pick(kNumbers)));
        return false;
      case 3:
      case 4:
        Line("copy text " + Text(AnyText()));
        return false;
      case 5:
        Line("copy picture " + Number(rng_.Between(1, 900)) + " " + Number(rng_.Between(1, 900)));
        return false;
      case 6:
        Line("copy secret " + Text(AnyText()));
        return false;
      case 7:
        Line("copy other");
        return false;
      case 8:
      case 9:
        Click("Command5");
        return false;
      case 10:
        // The start button in the middle of a paste.
        Line("copy text " + Text(rng_.Pick(kNumbers)));
        Line("wait " + Number(rng_.Between(0, 60)));
        Click("Command5");
        return false;
      case 11:
      case 12:
      case 13:
        Click(rng_.Pick(kMainControls));
        return false;
      case 14:
        Line(std::string(rng_.Percent(50) ? "mousedown" : "mouseup") + " Command5");
        return false;
      case 15:
        if (rng_.Percent(50)) {
          Line("type Text3 " + Text(rng_.Pick(kWorkbookNames)));
        } else {
          Line("type Text1 " + Text(rng_.Pick(kWrapTexts)));
        }
        return false;
      case 16:
        Line(std::string("key ") + (rng_.Percent(50) ? "Text1" : "Text3") +
             (rng_.Percent(50) ? " Delete" : " Backspace"));
        return false;
      case 17:
        if (rng_.Percent(50)) {
          Line("menu-paste Text3 " +
               Text(rng_.Percent(70) ? rng_.Pick(kWorkbookNames) : AnyText()));
        } else {
          Line("menu-paste Text1 " + Text(rng_.Percent(70) ? rng_.Pick(kWrapTexts) : AnyText()));
        }
        return false;
      case 18:
        Line("drag Form1 " + Number(rng_.Between(-2000, 4000)) + " " +
             Number(rng_.Between(-1500, 2500)));
        return false;
      case 19:
        SideWindowStep();
        return false;
      case 20:
        SpeechStep();
        return false;
      case 21:
      case 22:
        ExcelWorldStep();
        return false;
      case 23:
        ExcelFaultStep();
        return false;
      case 24:
        SettingsFaultStep();
        return false;
      case 25:
        ViewerStep();
        return false;
      case 26:
        Line("wait " + Number(rng_.Between(2000, 8000)));
        return false;
      case 27:
        if (rng_.Percent(30) || !SheetStep()) {
          Line("file \"book.xlsx\" absent");
        } else {
          Line("excel select " + Cell());
        }
        return false;
      case 28:
        if (SheetStep() && model_.sheet_writable) {
          Line("excel cell " + Cell() + " " +
               Text(rng_.Percent(50) ? rng_.Pick(kNumbers) : rng_.Pick(kTexts)));
        } else {
          Click("Command8");
        }
        return false;
      case 29:
        if (SheetStep() && model_.sheet_writable) {
          Line("excel format " + Cell() + " " + Text(rng_.Pick(kFormats)));
        } else {
          Click("Command10");
        }
        return false;
      case 30:
        Click("Command5");
        Line("wait " + Number(rng_.Between(0, 1200)));
        Line("copy text " + Text(rng_.Pick(kNumbers)));
        return false;
      default:
        if (rng_.Percent(25)) {
          Line("close Form1");
          closed_ = true;
          return true;
        }
        Click(rng_.Pick(kMainControls));
        return false;
    }
  }

  std::string Cell() {
    static constexpr std::string_view kColumns[] = {"A", "B", "C", "H", "Z", "AA", "XFD"};
    return std::string(kColumns[rng_.Below(7)]) +
           Number(rng_.Percent(90) ? rng_.Between(1, 40) : 1048576);
  }

  void SideWindowStep() {
    if (!model_.usage_shown) {
      Click("Command10");
      return;
    }
    if (rng_.Percent(50)) {
      Line("click Form2.Image1");
    } else {
      Line("close Form2");
      model_.usage_shown = false;  // the usage button's flag stays as it was
    }
  }

  void SpeechStep() {
    if (!model_.speech_shown) {
      Click("Check3");
      return;
    }
    switch (rng_.Below(6)) {
      case 0:
        Line("slide Form3.HScroll1 " + Number(rng_.Between(-12, 12)));
        break;
      case 1:
        Line("slide Form3.HScroll2 " + Number(rng_.Between(-5, 105)));
        break;
      case 2:
        Line("click Form3.Command1");
        break;
      case 3:
        Line("click Form3.Command2");
        break;
      case 4:
        Line("click Form3.Picture1");
        break;
      default:
        Line("close Form3");
        model_.speech_shown = false;  // its unload unticks Check3
        break;
    }
  }

  void ExcelWorldStep() {
    switch (rng_.Below(5)) {
      case 0:
      case 1:
        Line("excel start");
        model_.sheet = false;
        break;
      case 2:
        Line("excel quit");
        model_.sheet = false;
        break;
      case 3:
        Line("excel protect");
        model_.sheet_writable = false;
        break;
      default:
        Line("excel global other");
        break;
    }
  }

  void ExcelFaultStep() {
    if (rng_.Percent(40)) {
      Line("excel busy " + Number(rng_.Between(1, 3)));
      return;
    }
    std::string line = "excel fail " + sim::scenario::ToUtf8(rng_.Pick(kOperations)) + " " +
                       std::string(rng_.Pick(kErrors));
    if (rng_.Percent(30)) line += rng_.Percent(50) ? " always" : " " + Number(rng_.Between(1, 4));
    Line(line);
  }

  void SettingsFaultStep() {
    switch (rng_.Below(3)) {
      case 0:
        Line("fail settings write");
        break;
      case 1:
        Line("fail settings delete");
        break;
      default: {
        // Another program rewrites the file while the program runs.
        model_.settings = rng_.Percent(50) ? SettingsLine() : GarbageBytes();
        Line("file \"C:\\\\Tools\\\\Harumado\\\\Harumado.dat\" " + BytesString(*model_.settings));
        break;
      }
    }
  }

  void ViewerStep() {
    const bool can_leave = !model_.viewers.empty();
    if (options_.viewer_hang && can_leave && rng_.Percent(15)) {
      const std::string_view name = model_.viewers[static_cast<std::size_t>(
          rng_.Below(static_cast<int>(model_.viewers.size())))];
      Line("viewer hang \"" + std::string(name) + "\"");
      // A viewer that stopped answering neither leaves nor stops again.
      std::erase(model_.viewers, name);
      return;
    }
    if (can_leave && rng_.Percent(50)) {
      const std::size_t at =
          static_cast<std::size_t>(rng_.Below(static_cast<int>(model_.viewers.size())));
      Line("viewer leave \"" + std::string(model_.viewers[at]) + "\"");
      model_.viewers.erase(model_.viewers.begin() + static_cast<std::ptrdiff_t>(at));
      return;
    }
    // Each program joins once: a name that left does not come back.
    if (joined_ < kViewers.size()) {
      const std::string_view name = kViewers[joined_++];
      Line("viewer join \"" + std::string(name) + "\"");
      model_.viewers.push_back(name);
    }
  }

  Random rng_;
  GeneratorOptions options_;
  std::uint64_t seed_;
  Session session_;
  Model model_;
  std::size_t joined_ = 0;
  bool pressed_ = false;
  bool closed_ = false;
  bool unreadable_ = false;
};

}  // namespace

Session GenerateSession(std::uint64_t seed, const GeneratorOptions& options) {
  return Writer(seed, options).Generate();
}

}  // namespace harumado::soak
