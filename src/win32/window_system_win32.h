#pragma once
// The window system of Windows: the program's native windows, z-order, focus, the message box,
// and the dispatch of pending messages (the nested loop of DoEvents and the main loop).
#include <functional>
#include <map>
#include <memory>

#include "platform/window_system.h"
#include "win32/control_view_win32.h"

namespace harumado::win32 {

class WindowSystemWin32 final : public platform::WindowSystem {
 public:
  explicit WindowSystemWin32(HINSTANCE instance);
  ~WindowSystemWin32() override;

  platform::WindowHandle Create(ui::Window& model) override;
  void Destroy(platform::WindowHandle window) override;
  void Show(platform::WindowHandle window) override;
  void Hide(platform::WindowHandle window) override;
  platform::Rect GetWindowRect(platform::WindowHandle window) override;
  void MoveWindow(platform::WindowHandle window, int left, int top, int width, int height,
                  bool repaint) override;
  void SetTopmost(platform::WindowHandle window, bool topmost) override;
  void SetForegroundWindow(platform::WindowHandle window) override;
  void PostMessage(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wparam,
                   std::intptr_t lparam) override;
  std::wstring GetWindowText(platform::WindowHandle window, int max_chars) override;
  void MessageBox(const std::wstring& text, const std::wstring& title) override;
  void DoEvents() override;
  void Sleep(int ms) override;
  std::vector<platform::Rect> Monitors() override;
  int Dpi(platform::WindowHandle window) override;

  // The main loop: dispatches messages and runs on_idle whenever the queue is empty at the top
  // level; returns the exit code once the program has ended.
  int Run(const std::function<void()>& on_idle);
  // Ends the main loop when control returns to it; nested loops stop dispatching at once.
  void Quit(int exit_code);
  bool quitting() const { return quitting_; }

 private:
  void Dispatch(MSG& msg);
  ControlViewWin32* Find(HWND hwnd);

  HINSTANCE instance_;
  std::map<HWND, std::shared_ptr<ControlViewWin32>> views_;
  bool quitting_ = false;
};

}  // namespace harumado::win32
