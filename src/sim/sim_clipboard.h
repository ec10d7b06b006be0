#pragma once
// The simulated clipboard: content, sequence number, and a viewer chain that holds other
// programs' viewers (which handle the chain messages correctly) beside the program's window.
#include <map>
#include <string>
#include <vector>

#include "platform/clipboard.h"
#include "sim/sim_window_system.h"
#include "sim/world.h"

namespace harumado::sim {

enum class ClipKind { kEmpty, kText, kPicture, kOther };

struct ClipContent {
  ClipKind kind = ClipKind::kEmpty;
  std::wstring text;
  double picture_width = 0;  // points
  double picture_height = 0;
  bool secret = false;  // marked as not for clipboard monitors
};

struct ForeignViewer {
  std::wstring name;
  platform::WindowHandle next = 0;
  int notified = 0;
  // Stopped answering: it handles nothing more and passes nothing on, but stays in the chain.
  bool hung = false;
  // A viewer that left the chain keeps its window: it is still there to be asked about.
  bool in_chain = true;
};

class SimClipboard : public platform::Clipboard {
 public:
  SimClipboard(World& world, SimWindowSystem& windows);

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

  // Another program changes the clipboard: the sequence number goes up and the chain hears of it
  // (the program's windows at the program's next dispatching point).
  void Set(ClipContent content);
  // Content that stands on the clipboard before anything happens (no change, no notification).
  void Preset(ClipContent content) { content_ = std::move(content); }
  const ClipContent& content() const { return content_; }

  // Joins at the chain's head; a viewer that left before joins again with its window. False when
  // a viewer of that name is in the chain already.
  bool JoinViewer(const std::wstring& name);
  // False when no viewer of that name is in the chain.
  bool LeaveViewer(const std::wstring& name);
  bool HangViewer(const std::wstring& name);
  // The viewer's window, in the chain or not.
  ForeignViewer* FindViewer(const std::wstring& name);
  // Counts start again from 0 (the program's start-up).
  void ResetNotifications();
  ForeignViewer* FindViewer(platform::WindowHandle h);
  platform::WindowHandle head() const { return head_; }

 private:
  void Deliver(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wparam,
               std::intptr_t lparam);
  // A message handled at once: by another program's viewer that answers, or by one of the
  // program's windows.
  std::intptr_t Handle(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wparam,
                       std::intptr_t lparam);
  bool IsHung(platform::WindowHandle window);

  World& world_;
  SimWindowSystem& windows_;
  ClipContent content_;
  std::uint32_t sequence_ = 1;
  platform::WindowHandle head_ = 0;
  std::map<platform::WindowHandle, ForeignViewer> viewers_;
};

}  // namespace harumado::sim
