// The clipboard: text in both forms, the markers of content not meant for monitors, the
// sequence number and the subclassing of a window.
#include <cstdio>
#include <cstring>
#include <memory>
#include <thread>

#include "platform_test.h"
#include "win32/clipboard_opener.h"
#include "win32/clipboard_win32.h"
#include "win32/text_win32.h"
#include "win32/win32_api.h"

namespace {

using harumado::win32::ClipboardWin32;

struct Format {
  UINT format;
  std::string bytes;
};

// Puts the formats on the clipboard, as another program's copy would.
bool Offer(const std::vector<Format>& formats) {
  const harumado::win32::ClipboardOpener clipboard;
  if (!clipboard.open()) return false;
  ::EmptyClipboard();
  for (const Format& f : formats) {
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, f.bytes.size() + 2);
    auto* p = static_cast<char*>(::GlobalLock(memory));
    std::memcpy(p, f.bytes.data(), f.bytes.size());
    p[f.bytes.size()] = p[f.bytes.size() + 1] = 0;
    ::GlobalUnlock(memory);
    ::SetClipboardData(f.format, memory);
  }
  return true;
}

std::string Wide(const std::wstring& text) {
  return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

std::string Dword(DWORD value) { return std::string(reinterpret_cast<const char*>(&value), 4); }

UINT Registered(const wchar_t* name) { return ::RegisterClipboardFormatW(name); }

}  // namespace

PLATFORM_TEST(ClipboardTextAndMonitorMarkers) {
  ClipboardWin32 clipboard;
  const struct {
    const char* what;
    std::vector<Format> formats;
    bool has_text;
    std::wstring text;
    bool excluded;
  } cases[] = {
      {"unicode text", {{CF_UNICODETEXT, Wide(L"売上 2024")}}, true, L"売上 2024", false},
      {"ansi text in the system code page",
       {{CF_TEXT, harumado::win32::AnsiFromWide(L"日本語のテキスト")}},
       true,
       L"日本語のテキスト",
       false},
      {"no text", {{CF_DIB, std::string(64, '\0')}}, false, L"", false},
      {"excluded from monitors",
       {{CF_UNICODETEXT, Wide(L"secret")},
        {Registered(L"ExcludeClipboardContentFromMonitorProcessing"), Dword(0)}},
       true,
       L"secret",
       true},
      {"viewer ignore",
       {{CF_UNICODETEXT, Wide(L"secret")}, {Registered(L"Clipboard Viewer Ignore"), Dword(0)}},
       true,
       L"secret",
       true},
      {"not for the history",
       {{CF_UNICODETEXT, Wide(L"secret")}, {Registered(L"CanIncludeInClipboardHistory"), Dword(0)}},
       true,
       L"secret",
       true},
      {"allowed in the history",
       {{CF_UNICODETEXT, Wide(L"plain")}, {Registered(L"CanIncludeInClipboardHistory"), Dword(1)}},
       true,
       L"plain",
       false},
  };
  for (const auto& c : cases) {
    const auto before = clipboard.SequenceNumber();
    CHECK(Offer(c.formats));
    CHECK(clipboard.SequenceNumber() != before);
    CHECK_INT(c.has_text, clipboard.HasText());
    CHECK_TEXT(c.text, clipboard.GetText());
    CHECK_INT(c.excluded, clipboard.IsExcludedFromMonitors());
    if (clipboard.IsExcludedFromMonitors() != c.excluded) std::printf("  case: %s\n", c.what);
  }
}

namespace {

int hooked_messages = 0;
std::uintptr_t previous_proc = 0;
ClipboardWin32* hook_clipboard = nullptr;

std::intptr_t CountingProc(harumado::platform::WindowHandle window, std::uint32_t message,
                           std::uintptr_t wparam, std::intptr_t lparam) {
  if (message == WM_USER + 7) {
    ++hooked_messages;
    return 42;
  }
  return hook_clipboard->CallWindowProc(previous_proc, window, message, wparam, lparam);
}

LRESULT CALLBACK OwnProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_USER + 8) return 8;
  return ::DefWindowProcW(hwnd, message, wparam, lparam);
}

}  // namespace

PLATFORM_TEST(SubclassedWindowRunsTheProgramsProcedureUntilRestored) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = &OwnProc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = L"HarumadoSubclassTest";
  ::RegisterClassW(&wc);
  HWND hwnd = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                wc.hInstance, nullptr);
  ClipboardWin32 clipboard;
  hook_clipboard = &clipboard;
  const auto window = reinterpret_cast<harumado::platform::WindowHandle>(hwnd);
  previous_proc = clipboard.SetWindowProc(window, &CountingProc);
  CHECK(previous_proc != 0);
  CHECK_INT(42, clipboard.SendMessage(window, WM_USER + 7, 0, 0));
  CHECK_INT(8, clipboard.SendMessage(window, WM_USER + 8, 0, 0));  // passed on to its own
  CHECK_INT(1, hooked_messages);
  clipboard.RestoreWindowProc(window, previous_proc);
  CHECK_INT(0, clipboard.SendMessage(window, WM_USER + 7, 0, 0));
  CHECK_INT(1, hooked_messages);
  CHECK(::GetPropW(hwnd, L"Harumado.ClipboardHook") == nullptr);
  CHECK_INT(0, clipboard.SetWindowProc(0, &CountingProc));  // no window, nothing installed
  ::DestroyWindow(hwnd);
}

namespace {

int later_messages = 0;  // WM_USER + 9 handled by the other thread's window

LRESULT CALLBACK OtherThreadProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_USER + 9) {
    later_messages += static_cast<int>(wparam);
    return 9;
  }
  return OwnProc(hwnd, message, wparam, lparam);
}

// A window on a thread of its own that answers its messages until it is told to stop taking
// any (as a program that hangs), and answers again once released.
class OtherThreadWindow {
 public:
  OtherThreadWindow()
      : ready_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
        hang_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
        release_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
        thread_([this] { Run(); }) {
    ::WaitForSingleObject(ready_, 10000);
  }
  ~OtherThreadWindow() {
    ::SetEvent(release_);
    ::PostMessageW(hwnd_, WM_CLOSE, 0, 0);
    thread_.join();
    for (HANDLE h : {ready_, hang_, release_, hanging_}) ::CloseHandle(h);
  }
  harumado::platform::WindowHandle handle() const {
    return reinterpret_cast<harumado::platform::WindowHandle>(hwnd_);
  }
  void Hang() {
    ::SetEvent(hang_);
    ::PostMessageW(hwnd_, WM_NULL, 0, 0);  // wakes it to see the order
    ::WaitForSingleObject(hanging_, 10000);
  }

 private:
  void Run() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &OtherThreadProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"HarumadoOtherThreadTest";
    ::RegisterClassW(&wc);
    hwnd_ = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                              wc.hInstance, nullptr);
    ::SetEvent(ready_);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
      if (::WaitForSingleObject(hang_, 0) == WAIT_OBJECT_0 &&
          ::WaitForSingleObject(release_, 0) != WAIT_OBJECT_0) {
        ::SetEvent(hanging_);
        ::WaitForSingleObject(release_, 30000);
      }
      if (msg.message == WM_CLOSE) ::DestroyWindow(hwnd_);
      if (msg.message == WM_CLOSE) break;
      ::DispatchMessageW(&msg);
    }
  }

  HWND hwnd_ = nullptr;
  HANDLE ready_, hang_, release_;
  HANDLE hanging_ = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread thread_;
};

double MillisecondsSince(ULONGLONG start) {
  return static_cast<double>(::GetTickCount64() - start);
}

}  // namespace

// A send with a time limit returns the answer of a window that answers; from a window that has
// stopped taking messages it returns nothing once the limit has run out, and at once with no
// limit at all; the message left without a wait is handled once the window takes its messages
// again.
PLATFORM_TEST(SendWithATimeLimitGivesUpOnAWindowThatDoesNotAnswer) {
  ClipboardWin32 clipboard;
  auto other = std::make_unique<OtherThreadWindow>();
  const auto answered = clipboard.SendMessageTimeout(other->handle(), WM_USER + 8, 0, 0, 1000);
  CHECK(answered.has_value());
  CHECK_INT(8, answered.value_or(-1));
  other->Hang();
  ULONGLONG start = ::GetTickCount64();
  CHECK(!clipboard.SendMessageTimeout(other->handle(), WM_USER + 9, 1, 0, 300).has_value());
  const double limited = MillisecondsSince(start);
  std::printf("  a 300 ms limit gave up after %.0f ms\n", limited);
  CHECK(limited >= 250 && limited < 1500);
  start = ::GetTickCount64();
  CHECK(!clipboard.SendMessageTimeout(other->handle(), WM_USER + 9, 10, 0, 0).has_value());
  const double at_once = MillisecondsSince(start);
  std::printf("  no limit gave up after %.0f ms\n", at_once);
  CHECK(at_once < 100);
  CHECK_INT(0, later_messages);
  other.reset();  // released, it takes its messages, then ends
  // The message left without a wait (10) is handled; wine drops the one it gave up waiting for
  // (1), where Windows may still deliver it.
  std::printf("  handled after the release: %d\n", later_messages);
  CHECK(later_messages == 10 || later_messages == 11);
}
