#include "win32/window_system_win32.h"

#include <vector>

#include "runtime/automation_error.h"
#include "win32/dpi_win32.h"

namespace harumado::win32 {
namespace {

HWND Hwnd(platform::WindowHandle h) { return reinterpret_cast<HWND>(h); }

constexpr std::int32_t kInvalidHandle = 5;  // invalid procedure call or argument

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  auto* list = reinterpret_cast<std::vector<std::pair<bool, platform::Rect>>*>(data);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (::GetMonitorInfoW(monitor, &info)) {
    const RECT& r = info.rcMonitor;
    list->emplace_back((info.dwFlags & MONITORINFOF_PRIMARY) != 0,
                       platform::Rect{r.left, r.top, r.right, r.bottom});
  }
  return TRUE;
}

// Paints whatever part of the window and its children needs painting, at once.
BOOL CALLBACK PaintNow(HWND window, LPARAM) {
  ::RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  return TRUE;
}

}  // namespace

WindowSystemWin32::WindowSystemWin32(HINSTANCE instance) : instance_(instance) {
  ControlViewWin32::RegisterWindowClass(instance);
}

WindowSystemWin32::~WindowSystemWin32() {
  auto views = std::move(views_);
  for (auto& [hwnd, view] : views) view->Destroy();
}

ControlViewWin32* WindowSystemWin32::Find(HWND hwnd) {
  auto it = views_.find(hwnd);
  return it == views_.end() ? nullptr : it->second.get();
}

platform::WindowHandle WindowSystemWin32::Create(ui::Window& model) {
  auto view = std::make_shared<ControlViewWin32>(instance_, model);
  HWND hwnd = view->Create();
  views_[hwnd] = view;
  return reinterpret_cast<platform::WindowHandle>(hwnd);
}

// A view that is handling a message keeps itself alive until the handler has returned.
void WindowSystemWin32::Destroy(platform::WindowHandle window) {
  auto it = views_.find(Hwnd(window));
  if (it == views_.end()) return;
  std::shared_ptr<ControlViewWin32> view = std::move(it->second);
  views_.erase(it);
  view->Destroy();
}

void WindowSystemWin32::Show(platform::WindowHandle window) {
  ControlViewWin32* view = Find(Hwnd(window));
  if (view == nullptr) return;
  ::ShowWindow(view->hwnd(), SW_SHOW);
  ::UpdateWindow(view->hwnd());
  view->ApplyPendingFocus();
}

void WindowSystemWin32::Hide(platform::WindowHandle window) {
  if (ControlViewWin32* view = Find(Hwnd(window))) ::ShowWindow(view->hwnd(), SW_HIDE);
}

platform::Rect WindowSystemWin32::GetWindowRect(platform::WindowHandle window) {
  RECT r{};
  if (window == 0 || !::GetWindowRect(Hwnd(window), &r)) {
    throw rt::AutomationError(kInvalidHandle, L"GetWindowRect");
  }
  return platform::Rect{r.left, r.top, r.right, r.bottom};
}

void WindowSystemWin32::MoveWindow(platform::WindowHandle window, int left, int top, int width,
                                   int height, bool repaint) {
  if (window == 0) return;
  ::MoveWindow(Hwnd(window), left, top, width, height, repaint ? TRUE : FALSE);
}

// A hidden window is not activated by the z-order change, so the keyboard focus stays where
// the user has it.
void WindowSystemWin32::SetTopmost(platform::WindowHandle window, bool topmost) {
  if (window == 0) return;
  HWND hwnd = Hwnd(window);
  UINT flags = SWP_NOMOVE | SWP_NOSIZE;
  if (!::IsWindowVisible(hwnd)) flags |= SWP_NOACTIVATE;
  ::SetWindowPos(hwnd, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, flags);
}

void WindowSystemWin32::SetForegroundWindow(platform::WindowHandle window) {
  ::SetForegroundWindow(Hwnd(window));
}

void WindowSystemWin32::PostMessage(platform::WindowHandle window, std::uint32_t message,
                                    std::uintptr_t wparam, std::intptr_t lparam) {
  ::PostMessageW(Hwnd(window), message, static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam));
}

std::wstring WindowSystemWin32::GetWindowText(platform::WindowHandle window, int max_chars) {
  if (max_chars <= 0) return L"";
  std::vector<wchar_t> buffer(static_cast<std::size_t>(max_chars), L'\0');
  const int n = ::GetWindowTextW(Hwnd(window), buffer.data(), max_chars);
  return std::wstring(buffer.data(), static_cast<std::size_t>(n > 0 ? n : 0));
}

void WindowSystemWin32::MessageBox(const std::wstring& text, const std::wstring& title) {
  ::MessageBoxW(::GetActiveWindow(), text.c_str(), title.c_str(), MB_OK | MB_SETFOREGROUND);
}

// Dialog navigation (Tab between the controls) works in the program's windows as in a dialog.
void WindowSystemWin32::Dispatch(MSG& msg) {
  HWND root = msg.hwnd != nullptr ? ::GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  if (root != nullptr && Find(root) != nullptr && ::IsDialogMessageW(root, &msg)) return;
  ::TranslateMessage(&msg);
  ::DispatchMessageW(&msg);
}

// The nested dispatch: every pending message is handled, then control returns to the running
// procedure. Once the program ends nothing more is dispatched; the end request stays queued
// for the main loop.
void WindowSystemWin32::DoEvents() {
  MSG msg;
  while (!quitting_ && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      Quit(static_cast<int>(msg.wParam));
      return;
    }
    Dispatch(msg);
  }
}

// The program waits without taking a message: user input, timer ticks and the messages that
// other programs send (the clipboard viewer's notifications among them) wait for its next
// dispatch, as in a plain sleep. Only painting goes on: whenever one of the thread's windows
// needs painting (another window has uncovered it), every such window is painted at once. The
// painting is done directly, not through the message queue, whose reading would also deliver the
// messages sent by other threads.
void WindowSystemWin32::Sleep(int ms) {
  if (ms <= 0) {
    ::Sleep(0);
    return;
  }
  const ULONGLONG end = ::GetTickCount64() + static_cast<ULONGLONG>(ms);
  for (;;) {
    const ULONGLONG now = ::GetTickCount64();
    if (now >= end) return;
    const auto left = static_cast<DWORD>(end - now);
    const DWORD woke = ::MsgWaitForMultipleObjectsEx(0, nullptr, left, QS_PAINT, 0);
    if (woke == WAIT_TIMEOUT) return;
    if (woke != WAIT_OBJECT_0) {
      ::Sleep(left);
      return;
    }
    // The paint is taken note of, so that the next wait lasts until something new needs it.
    ::GetQueueStatus(QS_PAINT);
    ::EnumThreadWindows(::GetCurrentThreadId(), &PaintNow, 0);
  }
}

std::vector<platform::Rect> WindowSystemWin32::Monitors() {
  std::vector<std::pair<bool, platform::Rect>> found;
  ::EnumDisplayMonitors(nullptr, nullptr, &CollectMonitor, reinterpret_cast<LPARAM>(&found));
  std::vector<platform::Rect> monitors;
  for (const auto& [primary, r] : found) {
    if (primary)
      monitors.insert(monitors.begin(), r);
    else
      monitors.push_back(r);
  }
  return monitors;
}

int WindowSystemWin32::Dpi(platform::WindowHandle window) { return DpiForWindow(Hwnd(window)); }

int WindowSystemWin32::Run(const std::function<void()>& on_idle) {
  MSG msg;
  for (;;) {
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
      Dispatch(msg);
    }
    on_idle();
    ::WaitMessage();
  }
}

void WindowSystemWin32::Quit(int exit_code) {
  if (quitting_) return;
  quitting_ = true;
  ::PostQuitMessage(exit_code);
}

}  // namespace harumado::win32
