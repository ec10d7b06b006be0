#pragma once
// The window system: native windows for the core's window models, placement, z-order, focus,
// the message box, timers and the dispatch of pending events.
//
// Lifecycle: the core creates a window model (ui::Window) and calls Create, which builds the
// native window and its controls hidden and binds itself as the model's view; from then on every
// property change of the model reaches the view, and every user action on the native window
// reaches the model's event entry points (ui::Control::User...). Destroy removes the native
// window; the model outlives it until the core drops it at a quiet point.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/types.h"

namespace harumado::ui {
class Window;
}

namespace harumado::platform {

inline constexpr std::uint32_t kWmKeyDown = 0x0100;
inline constexpr std::uint32_t kWmKeyUp = 0x0101;
inline constexpr std::uint32_t kVkEscape = 0x1B;

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
  virtual WindowHandle Create(ui::Window& model) = 0;  // hidden; binds the view
  virtual void Destroy(WindowHandle window) = 0;
  virtual void Show(WindowHandle window) = 0;  // modeless, no owner
  virtual void Hide(WindowHandle window) = 0;
  virtual Rect GetWindowRect(WindowHandle window) = 0;  // throws when the handle is not a window
  virtual void MoveWindow(WindowHandle window, int left, int top, int width, int height,
                          bool repaint) = 0;
  // SetWindowPos with HWND_TOPMOST / HWND_NOTOPMOST and SWP_NOMOVE | SWP_NOSIZE.
  virtual void SetTopmost(WindowHandle window, bool topmost) = 0;
  virtual void SetForegroundWindow(WindowHandle window) = 0;
  virtual void PostMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wparam,
                           std::intptr_t lparam) = 0;
  // GetWindowText with a buffer of max_chars characters: the first n characters of the title.
  virtual std::wstring GetWindowText(WindowHandle window, int max_chars) = 0;
  // Modal message box with an OK button; returns when the user closes it.
  virtual void MessageBox(const std::wstring& text, const std::wstring& title) = 0;
  // Dispatches every pending event of the program (user actions, timer ticks, window messages).
  virtual void DoEvents() = 0;
  // Suspends the program for ms milliseconds (no events are dispatched meanwhile).
  virtual void Sleep(int ms) = 0;
  // The monitors' rectangles in screen pixels, the primary one first.
  virtual std::vector<Rect> Monitors() = 0;
  // The display scale of the monitor the window stands on, in dots per inch (96 is 100 %).
  // When the window moves to a monitor of another scale, the window system gives it the size
  // its layout has at the new scale.
  virtual int Dpi(WindowHandle window) = 0;
};

}  // namespace harumado::platform
