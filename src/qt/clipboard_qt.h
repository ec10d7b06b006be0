#pragma once
// The clipboard of the Linux desktop through Qt (X11 and Wayland): the CLIPBOARD selection's
// change counter, its text and the password managers' marker, and the clipboard-viewer chain
// emulated inside the program. The desktop has no chain of viewers across programs: only the
// program's own windows are in it, so the program's first viewer has no next viewer, and every
// change of the clipboard reaches the chain's head through the procedure installed on it.
//
// On X11 Qt hears of every new owner of the CLIPBOARD selection (XFixes), whichever window has
// the focus. On Wayland the compositor offers the clipboard only to the program that has the
// keyboard focus: a copy made while the program is in the background is seen when it gets the
// focus back.
#include <QMetaObject>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/clipboard.h"

namespace harumado::qt {

class ClipboardQt final : public platform::Clipboard {
 public:
  // Tells whether a handle still names one of the program's windows; an empty function counts
  // every handle but 0 as a window.
  using WindowExists = std::function<bool(platform::WindowHandle)>;

  // Lifecycle: created after the QGuiApplication and destroyed before it. From construction on
  // every change of the CLIPBOARD selection (the primary selection is not watched) advances the
  // sequence number and is sent to the chain's head, when the application dispatches the
  // window system's events.
  // How a change notification reaches the chain's head: handed to post, which runs it at the
  // program's next dispatching point (the window system's program events), as Windows delivers
  // WM_DRAWCLIPBOARD when the program next takes its messages; the counter advances at once.
  // Without post the head is told at once (the chain's own tests).
  using Post = std::function<void(std::function<void()>)>;

  explicit ClipboardQt(WindowExists window_exists = {}, Post post = {});
  ~ClipboardQt() override;
  ClipboardQt(const ClipboardQt&) = delete;
  ClipboardQt& operator=(const ClipboardQt&) = delete;

  std::uint32_t SequenceNumber() override;
  bool HasText() override;
  std::wstring GetText() override;
  // The owner offers "x-kde-passwordManagerHint" with the value "secret".
  bool IsExcludedFromMonitors() override;

  platform::WindowHandle SetClipboardViewer(platform::WindowHandle window) override;
  void ChangeClipboardChain(platform::WindowHandle remove, platform::WindowHandle next) override;
  std::intptr_t SendMessage(platform::WindowHandle window, std::uint32_t message,
                            std::uintptr_t wparam, std::intptr_t lparam) override;
  std::optional<std::intptr_t> SendMessageTimeout(platform::WindowHandle window,
                                                  std::uint32_t message, std::uintptr_t wparam,
                                                  std::intptr_t lparam, int timeout_ms) override;
  std::uintptr_t SetWindowProc(platform::WindowHandle window, platform::WindowProc proc) override;
  void RestoreWindowProc(platform::WindowHandle window, std::uintptr_t previous) override;
  std::intptr_t CallWindowProc(std::uintptr_t previous, platform::WindowHandle window,
                               std::uint32_t message, std::uintptr_t wparam,
                               std::intptr_t lparam) override;

  // The window system calls this when a window is destroyed: the procedure installed on it is
  // forgotten with it, as the system forgets a destroyed window's subclassing. The chain keeps
  // its link to it (a program that leaves a window in the chain breaks it, as on Windows).
  void WindowDestroyed(platform::WindowHandle window);

  // The first viewer of the program's chain (0 when none).
  platform::WindowHandle head() const { return head_; }

 private:
  void OnClipboardChanged();
  // Runs the window's current procedure; a window without an installed one answers 0.
  std::intptr_t Deliver(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wparam,
                        std::intptr_t lparam);
  bool Exists(platform::WindowHandle window) const;

  WindowExists window_exists_;
  Post post_;
  // Notifications posted and not yet run reach nothing once the clipboard object has gone.
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);
  QMetaObject::Connection changed_;
  std::uint32_t sequence_ = 1;
  platform::WindowHandle head_ = 0;
  // The procedures installed on the program's windows, by window.
  std::map<platform::WindowHandle, platform::WindowProc> procs_;
};

}  // namespace harumado::qt
