#pragma once
// The clipboard: the sequence number, its text, the markers of content not meant for clipboard
// monitors, and the clipboard-viewer chain primitives.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/types.h"

namespace harumado::platform {

inline constexpr std::uint32_t kWmDrawClipboard = 0x0308;
inline constexpr std::uint32_t kWmChangeCbChain = 0x030D;

// A window procedure of the program (the subclassing procedure of the viewer hook).
using WindowProc = std::intptr_t (*)(WindowHandle window, std::uint32_t message,
                                     std::uintptr_t wparam, std::intptr_t lparam);

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  virtual std::uint32_t SequenceNumber() = 0;  // GetClipboardSequenceNumber
  virtual bool HasText() = 0;                  // CF_TEXT available
  virtual std::wstring GetText() = 0;          // CF_TEXT content
  // The owner marked the content as not for clipboard monitors or history.
  virtual bool IsExcludedFromMonitors() = 0;

  // Viewer chain. SetClipboardViewer returns the next viewer (0 when none).
  virtual WindowHandle SetClipboardViewer(WindowHandle window) = 0;
  virtual void ChangeClipboardChain(WindowHandle remove, WindowHandle next) = 0;
  virtual std::intptr_t SendMessage(WindowHandle window, std::uint32_t message,
                                    std::uintptr_t wparam, std::intptr_t lparam) = 0;
  // Sends and waits at most timeout_ms for the answer (SendMessageTimeout): the window's answer,
  // or nothing when it did not answer in time or the system already counts it as hung (then
  // without waiting). With a limit of 0 there is no wait at all: the message is left for the
  // window to handle when it takes its messages again, and nothing is answered unless it handles
  // the message at once. A message given up on after a wait may be lost to the window.
  virtual std::optional<std::intptr_t> SendMessageTimeout(WindowHandle window,
                                                          std::uint32_t message,
                                                          std::uintptr_t wparam,
                                                          std::intptr_t lparam, int timeout_ms) = 0;
  // SetWindowLong(GWL_WNDPROC): installs proc, returns the previous procedure (0 on failure).
  virtual std::uintptr_t SetWindowProc(WindowHandle window, WindowProc proc) = 0;
  // Puts a previous procedure (as returned by SetWindowProc) back.
  virtual void RestoreWindowProc(WindowHandle window, std::uintptr_t previous) = 0;
  virtual std::intptr_t CallWindowProc(std::uintptr_t previous, WindowHandle window,
                                       std::uint32_t message, std::uintptr_t wparam,
                                       std::intptr_t lparam) = 0;
};

}  // namespace harumado::platform
