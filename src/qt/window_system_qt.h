#pragma once
// The window system of the Linux program (Qt 6 Widgets): the program's native windows, z-order,
// focus, the message box, timers, waiting and the dispatch of pending events (DoEvents, the
// main loop).
//
// Lifecycle: created after the QApplication and destroyed before it; every window the core
// creates lives until the core destroys it or the window system goes.
//
// Dispatching: the program's handlers run only when the core dispatches (DoEvents, the message
// box's modal loop, the main loop). While the program sleeps (Sleep) Qt keeps the windows
// painted, but user input stays in Qt's queue and every other event that would run program
// code (timer ticks, close requests, and whatever another service posts with
// PostProgramEvent) waits in the program's events for the next dispatch.
#include <QPointer>
#include <functional>
#include <map>
#include <memory>

#include "platform/window_system.h"
#include "qt/control_view_qt.h"
#include "qt/program_events_qt.h"

class QMessageBox;
class QScreen;

namespace harumado::qt {

class WindowSystemQt final : public platform::WindowSystem {
 public:
  WindowSystemQt();
  ~WindowSystemQt() override;
  WindowSystemQt(const WindowSystemQt&) = delete;
  WindowSystemQt& operator=(const WindowSystemQt&) = delete;

  platform::WindowHandle Create(ui::Window& model) override;
  void Destroy(platform::WindowHandle window) override;
  void Show(platform::WindowHandle window) override;
  void Hide(platform::WindowHandle window) override;
  platform::Rect GetWindowRect(platform::WindowHandle window) override;
  // The frames are fixed: the window's left-top moves there; its size stays its layout's.
  void MoveWindow(platform::WindowHandle window, int left, int top, int width, int height,
                  bool repaint) override;
  void SetTopmost(platform::WindowHandle window, bool topmost) override;
  void SetForegroundWindow(platform::WindowHandle window) override;
  // Messages to the program's own windows are not used by the program; other programs'
  // windows are reached through on_foreign_message.
  void PostMessage(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wparam,
                   std::intptr_t lparam) override;
  std::wstring GetWindowText(platform::WindowHandle window, int max_chars) override;
  void MessageBox(const std::wstring& text, const std::wstring& title) override;
  void DoEvents() override;
  void Sleep(int ms) override;
  std::vector<platform::Rect> Monitors() override;
  int Dpi(platform::WindowHandle window) override;

  // The main loop: dispatches events and runs on_idle whenever they are all handled at the top
  // level; returns the exit code once the program has ended.
  int Run(const std::function<void()>& on_idle);
  // Ends the main loop when control returns to it; nested loops stop dispatching at once and
  // an open message box closes.
  void Quit(int exit_code);
  bool quitting() const { return quitting_; }

  // Queues work for the program's next dispatching point (never run while it sleeps): the way
  // for other services to hand the program a native notification (the clipboard's change).
  void PostProgramEvent(std::function<void()> event) { events_.Post(std::move(event)); }

  // What the program's windows show, one fact a line ("Form1.visible=1", "Form1.Text1.text=1"),
  // for the tests of the program.
  std::wstring DescribeWindows() const;

  // The native widget of one of the program's windows, or nullptr.
  QWidget* WidgetOf(platform::WindowHandle window);

  // Windows of other programs (the spreadsheet application's main window): their titles, and
  // what is posted or brought to the front there. Unset, they have no title and take nothing.
  std::function<bool(platform::WindowHandle, std::wstring&)> foreign_title;
  std::function<void(platform::WindowHandle)> on_foreign_foreground;
  std::function<void(platform::WindowHandle, std::uint32_t, std::uintptr_t)> on_foreign_message;
  // Told of each of the program's windows as it is destroyed (the clipboard forgets it).
  std::function<void(platform::WindowHandle)> on_destroyed;

 private:
  ControlViewQt* Find(platform::WindowHandle window);
  void WatchScreen(QScreen* screen);

  ProgramEvents events_;
  std::map<platform::WindowHandle, std::shared_ptr<ControlViewQt>> views_;
  // Far from the handles of the simulated application's windows.
  platform::WindowHandle next_handle_ = 0x1000000;
  QPointer<QMessageBox> message_box_;
  bool quitting_ = false;
  int exit_code_ = 0;
  QObject screens_context_;  // the screen signals' connections end with the window system
};

}  // namespace harumado::qt
