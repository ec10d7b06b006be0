#pragma once
// The test harness of the Windows program: it starts the real program in a folder of its own,
// finds its windows and controls, reads them, clicks, types and closes, as a user would.
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "win32/scoped.h"

namespace harumado::harness {

// ---- checks ----------------------------------------------------------------------------------

// Records a failed expectation (the scenario goes on) and prints it.
void Fail(const std::wstring& what, const std::wstring& expected, const std::wstring& got);
bool Expect(bool ok, const std::wstring& what);
bool ExpectText(const std::wstring& what, const std::wstring& expected, const std::wstring& got);
bool ExpectInt(const std::wstring& what, long long expected, long long got);
int FailureCount();
void Note(const std::wstring& line);

// Waits until the condition holds, polling; false when it still does not after the time.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit);

// ---- files and folders -----------------------------------------------------------------------

std::wstring WindowsPath(const std::wstring& path);  // a Unix path under wine becomes Z:\...
std::wstring TempFolder(const std::wstring& name);   // a fresh, empty folder for a scenario
void RemoveTree(const std::wstring& folder);
bool FileExists(const std::wstring& path);
std::optional<std::string> ReadFileBytes(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
void CopyProgram(const std::wstring& program, const std::wstring& target);
std::wstring AppDataFolder();
std::wstring Utf16(const std::string& bytes);
std::wstring Printable(const std::string& bytes);  // CR and LF shown as \r \n

// ---- the program under test ------------------------------------------------------------------

struct Rect {
  long left = 0, top = 0, right = 0, bottom = 0;
  long width() const { return right - left; }
  long height() const { return bottom - top; }
};

class RunningProgram {
 public:
  // Starts the program file; it stands in its folder, as a user's copy would.
  explicit RunningProgram(const std::wstring& exe);
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  DWORD pid() const { return pid_; }
  bool Exited(std::chrono::milliseconds within);
  DWORD ExitCode();
  void Kill();

  // A top-level window of the program with this caption, visible or not; null when none.
  HWND FindWindowByCaption(const std::wstring& caption) const;
  HWND WaitForVisibleWindow(const std::wstring& caption, std::chrono::milliseconds within);
  // The program has handled everything sent to it so far (it is back in a message loop).
  bool Sync(HWND window);

 private:
  win32::UniqueHandle process_;
  win32::UniqueHandle thread_;
  DWORD pid_ = 0;
};

// The program's three windows by caption.
inline constexpr wchar_t kMainCaption[] = L"Harumado";
inline constexpr wchar_t kUsageCaption[] = L"Form2";
inline constexpr wchar_t kSpeechCaption[] = L"クリックボードの読み上げ";

// A control of a window, found by the name it has in the window's layout.
HWND Control(HWND window, const std::wstring& window_name, const std::wstring& control);
std::wstring TextOf(HWND hwnd);
bool Checked(HWND hwnd);
void Click(HWND hwnd);  // a left click: press and release inside the control
void MouseDown(HWND hwnd);
void MouseUp(HWND hwnd);
void TypeChar(HWND hwnd, wchar_t ch);
void KeyDown(HWND hwnd, UINT vk);
void RequestClose(HWND hwnd);
std::pair<int, int> Selection(HWND edit);
LONG_PTR Style(HWND hwnd);
LONG_PTR ExStyle(HWND hwnd);
Rect WindowRect(HWND hwnd);
Rect ClientRectOnScreen(HWND hwnd);
HWND FocusOf(DWORD thread_of_window_owner);
HWND FocusedControl(HWND window);
// The tooltip text the program shows for a control, read from its tooltip window.
std::wstring TooltipOf(HWND window, HWND control, DWORD pid);
void MoveTo(HWND window, int left, int top);

// ---- what the screen shows -------------------------------------------------------------------

struct Color {
  int r = 0, g = 0, b = 0;
};
std::wstring ColorText(const Color& c);
bool Near(const Color& a, const Color& b, int tolerance = 24);

// A picture of part of the screen.
class ScreenShot {
 public:
  explicit ScreenShot(const Rect& area);
  Color At(long screen_x, long screen_y) const;
  // The most frequent colour inside the rectangle.
  Color Dominant(const Rect& area) const;
  // How many pixels inside the rectangle are near the colour.
  int CountNear(const Rect& area, const Color& color, int tolerance = 24) const;
  bool SaveBmp(const std::wstring& path) const;
  const Rect& area() const { return area_; }

 private:
  Rect area_;
  std::vector<std::uint8_t> bgr_;  // bottom-up rows, as the bitmap stores them
  long stride_ = 0;
};

// The colour the control shows just inside its corner, and whether its text has this colour.
Color BackColorOf(HWND control);
Color CornerColorOf(HWND control);  // just inside the corner, clear of a centred picture
bool ShowsTextColor(HWND control, const Color& color);
Color WindowBackColor(HWND window);
// Whether the title bar's icon strip shows pixels of this colour.
bool TitleBarShows(HWND window, const Color& color);
// Characters of the text that the program's font has no glyph for.
std::wstring MissingGlyphs(const std::wstring& face, const std::wstring& text);
// Saves a picture of the window into the artifacts folder (when one was given).
void SaveScreenShot(HWND window, const std::wstring& name);

// A picture file's pixels, rows top first.
struct PictureFile {
  long width = 0;
  long height = 0;
  std::vector<Color> pixels;
  const Color& At(long x, long y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};
// Reads a picture file (PNG, BMP) with the system's image decoder; none when it cannot.
std::optional<PictureFile> ReadPictureFile(const std::wstring& path);
void SetArtifactsFolder(const std::wstring& folder);

// ---- the clipboard ---------------------------------------------------------------------------

// Puts a text on the clipboard from this process; a secret one carries the marker of content
// that clipboard monitors must not record, as a password manager's copy does.
bool CopyText(const std::wstring& text, bool secret = false);
// This harness started again as another process with the arguments: its exit code, or nothing
// when it could not be started or did not end within 10 s (it is then ended).
std::optional<DWORD> RunHarnessAgain(const std::wstring& arguments);
// Another process (this harness again, with the arguments of a copy) puts something on the
// clipboard; true when it did. A start that failed and left the clipboard untouched is retried.
bool CopyFromAnotherProcess(const std::wstring& arguments);
// Makes another process (this harness started again) copy the text.
bool CopyTextFromAnotherProcess(const std::wstring& text, bool secret = false);

// A window of the harness in the clipboard-viewer chain: it counts change notifications and
// passes them on as a correct viewer does.
class ViewerWindow {
 public:
  ViewerWindow();
  ~ViewerWindow();
  ViewerWindow(const ViewerWindow&) = delete;
  ViewerWindow& operator=(const ViewerWindow&) = delete;
  HWND hwnd() const { return hwnd_; }
  int notifications() const { return notifications_; }
  // Handles this thread's messages (the notifications arrive as messages) until `count` came.
  bool WaitForNotifications(int count, std::chrono::milliseconds within);

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  HWND hwnd_ = nullptr;
  HWND next_ = nullptr;
  int notifications_ = 0;
};

// A viewer in another process (this harness started again): a window in the clipboard-viewer
// chain that passes the chain's messages on as a correct viewer does, until it is told to stop
// answering: then it takes no message at all, until it is told to answer again.
class ViewerProcess {
 public:
  explicit ViewerProcess(const std::wstring& name);  // started; joined() once it is in the chain
  ~ViewerProcess();                                  // ends it
  ViewerProcess(const ViewerProcess&) = delete;
  ViewerProcess& operator=(const ViewerProcess&) = delete;
  bool joined() const { return joined_; }
  void Hang();
  void Answer();
  // Ends the process; the change notifications its window received, or -1 when it did not end.
  int End();

 private:
  win32::UniqueHandle hang_, answer_, end_;
  win32::UniqueHandle process_;
  bool joined_ = false;
};
// The other process's side: harumado-harness viewer-process NAME. Its exit code is the number of
// change notifications its window received.
int RunViewerProcess(const std::wstring& name);

// ---- scenarios -------------------------------------------------------------------------------

struct Scenario {
  const wchar_t* name;
  void (*run)(const std::wstring& program, const std::vector<std::wstring>& args);
};
const std::vector<Scenario>& AllScenarios();

}  // namespace harumado::harness
