#pragma once
// The Windows clipboard: sequence number, text, the monitor-exclusion markers and the
// clipboard-viewer chain with the subclassing of the hooked window.
#include "platform/clipboard.h"

namespace harumado::win32 {

class ClipboardWin32 final : public platform::Clipboard {
 public:
  std::uint32_t SequenceNumber() override;
  bool HasText() override;
  std::wstring GetText() override;
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
};

}  // namespace harumado::win32
