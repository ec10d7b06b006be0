// The clipboard: text in both forms, the markers of content not meant for monitors, the
// sequence number and the subclassing of a window.
#include <cstdio>
#include <cstring>

#include "platform_test.h"
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
  if (!::OpenClipboard(nullptr)) return false;
  ::EmptyClipboard();
  for (const Format& f : formats) {
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, f.bytes.size() + 2);
    auto* p = static_cast<char*>(::GlobalLock(memory));
    std::memcpy(p, f.bytes.data(), f.bytes.size());
    p[f.bytes.size()] = p[f.bytes.size() + 1] = 0;
    ::GlobalUnlock(memory);
    ::SetClipboardData(f.format, memory);
  }
  ::CloseClipboard();
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
