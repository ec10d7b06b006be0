#include "excel_support.h"

#include <cstring>
#include <thread>

#include "automation/dispatch.h"
#include "automation/late_bound_host.h"
#include "runtime/automation_error.h"
#include "win32/automation/com_runtime.h"
#include "win32/clipboard_opener.h"

namespace harumado::harness {
namespace {

constexpr automation::Member kReport{L"Application", L"HarumadoReport"};
constexpr automation::Member kBusy{L"Application", L"HarumadoBusy"};
constexpr wchar_t kExcelWindowClass[] = L"XLMAIN";

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\')); }

// COM for this thread while a call to the double is made.
class Com {
 public:
  Com() : apartment_() {}
  win32::ComRuntime& runtime() { return runtime_; }

 private:
  win32::ComApartment apartment_;
  win32::ComRuntime runtime_;
};

std::vector<std::wstring> SplitLines(const std::wstring& text) {
  std::vector<std::wstring> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(L'\n', start);
    if (end == std::wstring::npos) end = text.size();
    std::wstring line = text.substr(start, end - start);
    if (!line.empty() && line.back() == L'\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

}  // namespace

std::wstring OpenedMessage(const std::wstring& path) {
  return L"文字をコピーするとセルに貼り付けが出来ます。" + path;
}

std::wstring StoppedMessage(const std::wstring& path) {
  return L"セルに貼り付けは[ファイル名開く]ボタンを押して[貼り付け開始]ボタンにします。" + path;
}

void Type(HWND field, const std::wstring& text) {
  for (wchar_t c : text) TypeChar(field, c);
}

bool WaitForText(HWND control, const std::wstring& text, std::chrono::milliseconds limit) {
  if (WaitUntil([&] { return TextOf(control) == text; }, limit)) return true;
  Fail(L"the text of a control", text, TextOf(control));
  return false;
}

bool StartPasting(RunningProgram& p, HWND& main, const std::wstring& name,
                  const std::wstring& path) {
  main = p.WaitForVisibleWindow(kMainCaption, std::chrono::seconds(20));
  if (main == nullptr || !p.Sync(main)) {
    Fail(L"the main window is shown", L"shown", L"no window");
    return false;
  }
  Type(Control(main, L"Form1", L"Text3"), name);
  PostClick(Control(main, L"Form1", L"Command5"));
  if (!WaitForText(Control(main, L"Form1", L"Command5"), kPastingCaption, kExcelLimit) ||
      !WaitForText(Control(main, L"Form1", L"Text2"), OpenedMessage(path), kExcelLimit)) {
    return false;
  }
  if (!WaitForLines({L"calls Hwnd 1"}, kExcelLimit)) return false;
  return WaitForPasteLoopStart(main);
}

namespace {

INT_PTR PasteProperty(HWND main, const wchar_t* name) {
  return reinterpret_cast<INT_PTR>(::GetPropW(main, name));
}
INT_PTR PasteLoops(HWND main) { return PasteProperty(main, L"HarumadoPasteLoops"); }
INT_PTR PasteCycles(HWND main) { return PasteProperty(main, L"HarumadoPasteCycles"); }

}  // namespace

bool WaitForPasteCycles(HWND main, int cycles) {
  const INT_PTR start = PasteCycles(main);
  if (WaitUntil([&] { return PasteCycles(main) >= start + cycles; }, kPasteLimit)) return true;
  Fail(L"cycles of the paste loop", std::to_wstring(cycles),
       std::to_wstring(PasteCycles(main) - start));
  return false;
}

bool WaitForPasteLoopStart(HWND main) {
  const INT_PTR start = PasteCycles(main);
  if (WaitUntil([&] { return PasteCycles(main) >= start + 2 && PasteLoops(main) >= 1; },
                kPasteLimit)) {
    return true;
  }
  Fail(L"the paste loop runs", L"2 cycles, a loop running",
       std::to_wstring(PasteCycles(main) - start) + L" cycles, " +
           std::to_wstring(PasteLoops(main)) + L" loops running");
  return false;
}

int PasteLoopsRunning(HWND main) { return static_cast<int>(PasteLoops(main)); }

bool WaitForPasteLoopEnd(HWND main) {
  if (WaitUntil([&] { return PasteLoops(main) == 0; }, kPasteLimit)) return true;
  Fail(L"the paste loop ends", L"0 loops running", std::to_wstring(PasteLoops(main)));
  return false;
}

void PostClick(HWND control) {
  HWND root = ::GetAncestor(control, GA_ROOT);
  if (root != nullptr && ::GetForegroundWindow() != root) ::SetForegroundWindow(root);
  RECT r{};
  ::GetClientRect(control, &r);
  const LPARAM center = MAKELPARAM((r.right - r.left) / 2, (r.bottom - r.top) / 2);
  ::PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, center);
  ::PostMessageW(control, WM_LBUTTONUP, 0, center);
}

std::wstring Doubles::ExcelLog() const { return FolderOf(excel) + L"\\excel-double.log"; }
std::wstring Doubles::VoiceLog() const { return FolderOf(voice) + L"\\voice-double.log"; }

Doubles DoublesFrom(const std::vector<std::wstring>& args) {
  Doubles d;
  if (args.size() >= 1) d.excel = WindowsPath(args[0]);
  if (args.size() >= 2) d.voice = WindowsPath(args[1]);
  if (d.excel.empty()) Fail(L"the Excel double's program file", L"an argument", L"none");
  return d;
}

HWND ExcelWindow() { return ::FindWindowExW(nullptr, nullptr, kExcelWindowClass, nullptr); }

bool CloseAllExcel() {
  HWND w = nullptr;
  while ((w = ::FindWindowExW(nullptr, w, kExcelWindowClass, nullptr)) != nullptr) {
    ::PostMessageW(w, WM_CLOSE, 0, 0);
  }
  return WaitUntil([] { return ExcelWindow() == nullptr; }, std::chrono::seconds(10));
}

bool StartVisibleExcel(const std::optional<std::wstring>& workbook) {
  try {
    Com com;
    automation::LateBoundHost host(com.runtime());
    auto app = host.CreateObject();
    app->SetVisible(true);
    if (workbook) app->OpenWorkbook(*workbook);
    return true;
  } catch (const rt::AutomationError& e) {
    Fail(L"Excel is started", L"started", L"error " + rt::ErrorNumberText(e.number()));
    return false;
  }
}

std::optional<std::vector<std::wstring>> ExcelReport() {
  try {
    Com com;
    auto app = com.runtime().GetActiveObject(L"Excel.Application");
    return SplitLines(app->Get(kReport).value().text());
  } catch (const rt::AutomationError&) {
    return std::nullopt;
  }
}

std::optional<std::vector<std::wstring>> ExpectExcelReport(const std::wstring& what) {
  auto report = ExcelReport();
  if (!report) Fail(L"Excel's report, for " + what, L"read", L"not readable");
  return report;
}

bool HasLine(const std::vector<std::wstring>& report, const std::wstring& line) {
  for (const auto& l : report) {
    if (l == line) return true;
  }
  return false;
}

std::wstring LineStarting(const std::vector<std::wstring>& report, const std::wstring& prefix) {
  for (const auto& l : report) {
    if (l.compare(0, prefix.size(), prefix) == 0) return l;
  }
  return L"";
}

bool WaitForLines(const std::vector<std::wstring>& lines, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  std::vector<std::wstring> last;
  for (;;) {
    if (auto report = ExcelReport()) {
      last = *report;
      bool all = true;
      for (const auto& l : lines) all = all && HasLine(last, l);
      if (all) return true;
    }
    if (std::chrono::steady_clock::now() >= end) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
  }
  for (const auto& l : lines) {
    if (!HasLine(last, l)) Fail(L"Excel's report", l, L"not there");
  }
  std::wstring all;
  for (const auto& l : last) all += l + L" / ";
  Note(L"the report: " + all);
  return false;
}

bool MakeExcelBusy(int ms) {
  try {
    Com com;
    auto app = com.runtime().GetActiveObject(L"Excel.Application");
    app->Put(kBusy, rt::Value::Number(ms));
    return true;
  } catch (const rt::AutomationError& e) {
    Fail(L"Excel is made busy", L"busy", L"error " + rt::ErrorNumberText(e.number()));
    return false;
  }
}

bool CallExcel(const std::wstring& member, const std::vector<std::wstring>& args) {
  try {
    Com com;
    auto app = com.runtime().GetActiveObject(L"Excel.Application");
    std::vector<automation::Variant> values;
    for (const auto& a : args) values.push_back(rt::Value::Text(a));
    app->Invoke({L"Application", member}, automation::CallKind::kMethod, values);
    return true;
  } catch (const rt::AutomationError& e) {
    Fail(L"Excel's " + member, L"done", L"error " + rt::ErrorNumberText(e.number()));
    return false;
  }
}

std::wstring DesktopFolder() {
  win32::CoTaskString path;
  wchar_t* raw = nullptr;
  if (FAILED(::SHGetKnownFolderPath(FOLDERID_Desktop, 0, nullptr, &raw))) return L"";
  path.reset(raw);
  return path.get();
}

void PutWorkbookOnDesktop(const std::wstring& name) {
  WriteFileBytes(DesktopFolder() + L"\\" + name,
                 std::string("PK\x03\x04\r\nharumado-double-format 51\r\n", 33));
}

std::optional<int> WorkbookFormat(const std::wstring& path) {
  const auto bytes = ReadFileBytes(path);
  if (!bytes) return std::nullopt;
  const std::string marker = "harumado-double-format ";
  const auto at = bytes->find(marker);
  if (at == std::string::npos) return std::nullopt;
  return std::atoi(bytes->c_str() + at + marker.size());
}

std::vector<std::wstring> LogLines(const std::wstring& path) {
  const auto bytes = ReadFileBytes(path);
  if (!bytes) return {};
  return SplitLines(Utf16(*bytes));
}

int CountLinesContaining(const std::vector<std::wstring>& lines, const std::wstring& part) {
  int n = 0;
  for (const auto& l : lines) {
    if (l.find(part) != std::wstring::npos) ++n;
  }
  return n;
}

// A device-independent bitmap of one colour.
bool CopyPicture(int width, int height) {
  const win32::ClipboardOpener clipboard;
  if (!clipboard.open()) return false;
  ::EmptyClipboard();
  const std::size_t stride = static_cast<std::size_t>(width) * 4;
  const std::size_t bytes = sizeof(BITMAPINFOHEADER) + stride * static_cast<std::size_t>(height);
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
  bool ok = false;
  if (memory != nullptr) {
    auto* header = static_cast<BITMAPINFOHEADER*>(::GlobalLock(memory));
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = width;
    header->biHeight = height;
    header->biPlanes = 1;
    header->biBitCount = 32;
    header->biCompression = BI_RGB;
    auto* pixels = reinterpret_cast<std::uint8_t*>(header + 1);
    for (std::size_t i = 0; i < stride * static_cast<std::size_t>(height); i += 4) {
      pixels[i] = 0x40;      // blue
      pixels[i + 1] = 0xA0;  // green
      pixels[i + 2] = 0x30;  // red
    }
    ::GlobalUnlock(memory);
    ok = ::SetClipboardData(CF_DIB, memory) != nullptr;
    if (!ok) ::GlobalFree(memory);
  }
  return ok;
}

bool CopyPictureFromAnotherProcess(int width, int height) {
  return CopyFromAnotherProcess(L"copy-picture " + std::to_wstring(width) + L" " +
                                std::to_wstring(height));
}

}  // namespace harumado::harness
