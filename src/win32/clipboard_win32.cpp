#include "win32/clipboard_win32.h"

#include "runtime/automation_error.h"
#include "win32/clipboard_opener.h"
#include "win32/text_win32.h"
#include "win32/win32_api.h"

namespace harumado::win32 {
namespace {

HWND Hwnd(platform::WindowHandle h) { return reinterpret_cast<HWND>(h); }

constexpr std::int32_t kCannotOpenClipboard = 521;
// The window property that holds the program's procedure of a subclassed window.
constexpr wchar_t kHookProperty[] = L"Harumado.ClipboardHook";

// Locks a clipboard memory block for reading.
class LockedData {
 public:
  explicit LockedData(HANDLE data)
      : data_(data), p_(data != nullptr ? ::GlobalLock(data) : nullptr) {}
  ~LockedData() {
    if (p_ != nullptr) ::GlobalUnlock(data_);
  }
  LockedData(const LockedData&) = delete;
  LockedData& operator=(const LockedData&) = delete;
  const void* get() const { return p_; }
  std::size_t size() const { return p_ != nullptr ? ::GlobalSize(data_) : 0; }

 private:
  HANDLE data_;
  void* p_;
};

bool FormatAvailable(const wchar_t* name) {
  const UINT format = ::RegisterClipboardFormatW(name);
  return format != 0 && ::IsClipboardFormatAvailable(format) != FALSE;
}

// The subclassing procedure of a hooked window: it hands every message to the program's
// procedure stored with the window.
LRESULT CALLBACK HookThunk(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  const auto stored = reinterpret_cast<std::uintptr_t>(::GetPropW(hwnd, kHookProperty));
  if (stored == 0) return ::DefWindowProcW(hwnd, message, wparam, lparam);
  const auto proc = reinterpret_cast<platform::WindowProc>(stored);
  try {
    return static_cast<LRESULT>(proc(reinterpret_cast<platform::WindowHandle>(hwnd), message,
                                     static_cast<std::uintptr_t>(wparam),
                                     static_cast<std::intptr_t>(lparam)));
  } catch (const rt::AutomationError&) {
    return 0;
  }
}

}  // namespace

std::uint32_t ClipboardWin32::SequenceNumber() { return ::GetClipboardSequenceNumber(); }

bool ClipboardWin32::HasText() {
  return ::IsClipboardFormatAvailable(CF_TEXT) != FALSE ||
         ::IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE;
}

// The text is read in its Unicode form, which the system offers for every text on the
// clipboard; an ANSI-only text is converted with the system code page.
std::wstring ClipboardWin32::GetText() {
  ClipboardOpener clipboard;
  if (!clipboard.open()) throw rt::AutomationError(kCannotOpenClipboard, L"Can't open Clipboard");
  if (HANDLE wide = ::GetClipboardData(CF_UNICODETEXT)) {
    LockedData data(wide);
    const auto* p = static_cast<const wchar_t*>(data.get());
    if (p == nullptr) return L"";
    const std::size_t max = data.size() / sizeof(wchar_t);
    std::size_t n = 0;
    while (n < max && p[n] != L'\0') ++n;
    return std::wstring(p, n);
  }
  if (HANDLE narrow = ::GetClipboardData(CF_TEXT)) {
    LockedData data(narrow);
    const auto* p = static_cast<const char*>(data.get());
    if (p == nullptr) return L"";
    std::size_t n = 0;
    while (n < data.size() && p[n] != '\0') ++n;
    return WideFromAnsi(std::string(p, n));
  }
  return L"";
}

// Password managers and similar programs mark what they copy: either of the two exclusion
// formats, or the history format with the value 0.
bool ClipboardWin32::IsExcludedFromMonitors() {
  if (FormatAvailable(L"ExcludeClipboardContentFromMonitorProcessing")) return true;
  if (FormatAvailable(L"Clipboard Viewer Ignore")) return true;
  const UINT history = ::RegisterClipboardFormatW(L"CanIncludeInClipboardHistory");
  if (history == 0 || !::IsClipboardFormatAvailable(history)) return false;
  ClipboardOpener clipboard;
  if (!clipboard.open()) return false;
  LockedData data(::GetClipboardData(history));
  if (data.get() == nullptr || data.size() < sizeof(DWORD)) return false;
  return *static_cast<const DWORD*>(data.get()) == 0;
}

platform::WindowHandle ClipboardWin32::SetClipboardViewer(platform::WindowHandle window) {
  return reinterpret_cast<platform::WindowHandle>(::SetClipboardViewer(Hwnd(window)));
}

void ClipboardWin32::ChangeClipboardChain(platform::WindowHandle remove,
                                          platform::WindowHandle next) {
  ::ChangeClipboardChain(Hwnd(remove), Hwnd(next));
}

std::intptr_t ClipboardWin32::SendMessage(platform::WindowHandle window, std::uint32_t message,
                                          std::uintptr_t wparam, std::intptr_t lparam) {
  return static_cast<std::intptr_t>(::SendMessageW(
      Hwnd(window), message, static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam)));
}

// While it waits, the thread handles messages that other threads send to its windows, as a plain
// send does; a window the system already counts as hung (it has not taken its messages for some
// seconds) is not waited for. Without a time limit the message is left for the window without
// any wait (wine would take a limit of 0 ms for no limit at all).
std::optional<std::intptr_t> ClipboardWin32::SendMessageTimeout(platform::WindowHandle window,
                                                                std::uint32_t message,
                                                                std::uintptr_t wparam,
                                                                std::intptr_t lparam,
                                                                int timeout_ms) {
  if (timeout_ms <= 0) {
    ::SendNotifyMessageW(Hwnd(window), message, static_cast<WPARAM>(wparam),
                         static_cast<LPARAM>(lparam));
    return std::nullopt;
  }
  DWORD_PTR result = 0;
  const LRESULT answered = ::SendMessageTimeoutW(
      Hwnd(window), message, static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam),
      SMTO_NORMAL | SMTO_ABORTIFHUNG, static_cast<UINT>(timeout_ms), &result);
  if (answered == 0) return std::nullopt;
  return static_cast<std::intptr_t>(result);
}

std::uintptr_t ClipboardWin32::SetWindowProc(platform::WindowHandle window,
                                             platform::WindowProc proc) {
  HWND hwnd = Hwnd(window);
  if (!::IsWindow(hwnd)) return 0;
  ::SetPropW(hwnd, kHookProperty, reinterpret_cast<HANDLE>(reinterpret_cast<std::uintptr_t>(proc)));
  ::SetLastError(0);
  const LONG_PTR previous =
      ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HookThunk));
  if (previous == 0 && ::GetLastError() != 0) {
    ::RemovePropW(hwnd, kHookProperty);
    return 0;
  }
  return static_cast<std::uintptr_t>(previous);
}

void ClipboardWin32::RestoreWindowProc(platform::WindowHandle window, std::uintptr_t previous) {
  HWND hwnd = Hwnd(window);
  if (!::IsWindow(hwnd) || previous == 0) return;
  ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, static_cast<LONG_PTR>(previous));
  ::RemovePropW(hwnd, kHookProperty);
}

std::intptr_t ClipboardWin32::CallWindowProc(std::uintptr_t previous, platform::WindowHandle window,
                                             std::uint32_t message, std::uintptr_t wparam,
                                             std::intptr_t lparam) {
  HWND hwnd = Hwnd(window);
  if (previous == 0) {
    return static_cast<std::intptr_t>(::DefWindowProcW(hwnd, message, wparam, lparam));
  }
  return static_cast<std::intptr_t>(::CallWindowProcW(reinterpret_cast<WNDPROC>(previous), hwnd,
                                                      message, static_cast<WPARAM>(wparam),
                                                      static_cast<LPARAM>(lparam)));
}

}  // namespace harumado::win32
