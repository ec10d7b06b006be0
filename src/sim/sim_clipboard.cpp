#include "sim/sim_clipboard.h"

namespace harumado::sim {

SimClipboard::SimClipboard(World& world, SimWindowSystem& windows)
    : world_(world), windows_(windows) {}

std::uint32_t SimClipboard::SequenceNumber() { return sequence_; }

bool SimClipboard::HasText() { return content_.kind == ClipKind::kText; }

std::wstring SimClipboard::GetText() {
  return content_.kind == ClipKind::kText ? content_.text : std::wstring();
}

bool SimClipboard::IsExcludedFromMonitors() { return content_.secret; }

void SimClipboard::Set(ClipContent content) {
  content_ = std::move(content);
  ++sequence_;
  world_.Trace(L"clipboard changed, sequence " + std::to_wstring(sequence_));
  Deliver(head_, platform::kWmDrawClipboard, 0, 0);
}

// A chain message that the system or another program sends: the other programs' viewers run on
// threads of their own and handle it at once, passing it on as a correct viewer does; once it
// reaches one of the program's windows it waits for the program's next dispatching point, where
// that window's current procedure gets it (and passes it on from there). A message sent to a
// window that is gone by then is lost, with the rest of the chain behind it; so is one that
// reaches a viewer that has stopped answering.
void SimClipboard::Deliver(platform::WindowHandle window, std::uint32_t message,
                           std::uintptr_t wparam, std::intptr_t lparam) {
  for (int guard = 0; window != 0 && guard < 64; ++guard) {
    ForeignViewer* v = FindViewer(window);
    if (v == nullptr) break;
    if (v->hung) return;
    if (message == platform::kWmDrawClipboard) {
      ++v->notified;
    } else if (static_cast<platform::WindowHandle>(wparam) == v->next) {
      v->next = lparam;
      return;
    }
    window = v->next;
  }
  if (window == 0 || windows_.Find(window) == nullptr) return;
  const std::wstring what =
      message == platform::kWmDrawClipboard ? L"WM_DRAWCLIPBOARD" : L"WM_CHANGECBCHAIN";
  world_.Post(what,
              [this, window, message, wparam, lparam] { Handle(window, message, wparam, lparam); });
}

platform::WindowHandle SimClipboard::SetClipboardViewer(platform::WindowHandle window) {
  const platform::WindowHandle next = head_;
  head_ = window;
  world_.Trace(L"SetClipboardViewer");
  // The system tells a new viewer of the current content at once.
  Handle(window, platform::kWmDrawClipboard, 0, 0);
  return next;
}

// The program's own call: the chain's head hears of the removal at once.
void SimClipboard::ChangeClipboardChain(platform::WindowHandle remove,
                                        platform::WindowHandle next) {
  world_.Trace(L"ChangeClipboardChain");
  if (head_ == remove) {
    head_ = next;
    return;
  }
  if (head_ != 0) {
    Handle(head_, platform::kWmChangeCbChain, static_cast<std::uintptr_t>(remove), next);
  }
}

// The program's own send. One to a viewer that has stopped answering never returns: the program
// waits there for as long as the scenario lasts.
std::intptr_t SimClipboard::SendMessage(platform::WindowHandle window, std::uint32_t message,
                                        std::uintptr_t wparam, std::intptr_t lparam) {
  if (IsHung(window)) {
    world_.Trace(L"SendMessage to a viewer that does not answer");
    world_.WaitForever();
  }
  return Handle(window, message, wparam, lparam);
}

// The program's send with a time limit: a viewer that has stopped answering keeps the program
// waiting for the whole limit (the clock moves on by it) and gives no answer.
std::optional<std::intptr_t> SimClipboard::SendMessageTimeout(platform::WindowHandle window,
                                                              std::uint32_t message,
                                                              std::uintptr_t wparam,
                                                              std::intptr_t lparam,
                                                              int timeout_ms) {
  if (IsHung(window)) {
    world_.Trace(L"SendMessageTimeout to a viewer that does not answer, " +
                 std::to_wstring(timeout_ms) + L" ms");
    world_.Wait(timeout_ms);
    return std::nullopt;
  }
  return Handle(window, message, wparam, lparam);
}

bool SimClipboard::IsHung(platform::WindowHandle window) {
  const ForeignViewer* v = FindViewer(window);
  return v != nullptr && v->hung;
}

// Other programs' viewers count change notifications and pass both chain messages on as a
// correct viewer does (on threads of their own: a message passed on to a viewer that has stopped
// answering goes no further); the program's windows run their current window procedure.
std::intptr_t SimClipboard::Handle(platform::WindowHandle window, std::uint32_t message,
                                   std::uintptr_t wparam, std::intptr_t lparam) {
  if (ForeignViewer* v = FindViewer(window)) {
    if (v->hung) return 0;
    if (message == platform::kWmDrawClipboard) {
      ++v->notified;
      if (v->next != 0) Handle(v->next, message, wparam, lparam);
    } else if (message == platform::kWmChangeCbChain) {
      if (static_cast<platform::WindowHandle>(wparam) == v->next) {
        v->next = lparam;
      } else if (v->next != 0) {
        Handle(v->next, message, wparam, lparam);
      }
    }
    return 0;
  }
  SimWindow* w = windows_.Find(window);
  if (w == nullptr) return 0;
  return CallWindowProc(w->proc, window, message, wparam, lparam);
}

std::uintptr_t SimClipboard::SetWindowProc(platform::WindowHandle window,
                                           platform::WindowProc proc) {
  SimWindow* w = windows_.Find(window);
  if (w == nullptr) return 0;
  const std::uintptr_t previous = w->proc;
  w->proc = reinterpret_cast<std::uintptr_t>(proc);
  return previous;
}

void SimClipboard::RestoreWindowProc(platform::WindowHandle window, std::uintptr_t previous) {
  if (SimWindow* w = windows_.Find(window)) w->proc = previous;
}

std::intptr_t SimClipboard::CallWindowProc(std::uintptr_t previous, platform::WindowHandle window,
                                           std::uint32_t message, std::uintptr_t wparam,
                                           std::intptr_t lparam) {
  if (previous == 0 || previous == kDefaultProc) return 0;
  auto proc = reinterpret_cast<platform::WindowProc>(previous);
  return proc(window, message, wparam, lparam);
}

bool SimClipboard::JoinViewer(const std::wstring& name) {
  ForeignViewer* v = FindViewer(name);
  if (v != nullptr && v->in_chain) return false;
  platform::WindowHandle h = 0;
  if (v != nullptr) {
    for (auto& [handle, viewer] : viewers_) {
      if (&viewer == v) h = handle;
    }
  } else {
    h = world_.NewForeignHandle();
    v = &(viewers_[h] = ForeignViewer{.name = name});
  }
  v->in_chain = true;
  v->next = head_;
  head_ = h;
  world_.Trace(L"viewer " + name + L" joins");
  return true;
}

// Another program's viewer leaves as a correct viewer does: it calls ChangeClipboardChain with
// its successor, and the chain's head is told of it. Its window stays, out of the chain.
bool SimClipboard::LeaveViewer(const std::wstring& name) {
  for (auto& [h, v] : viewers_) {
    if (v.name != name || !v.in_chain) continue;
    const platform::WindowHandle handle = h;
    const platform::WindowHandle next = v.next;
    world_.Trace(L"viewer " + name + L" leaves");
    v.in_chain = false;
    v.next = 0;
    if (head_ == handle) {
      head_ = next;
    } else {
      Deliver(head_, platform::kWmChangeCbChain, static_cast<std::uintptr_t>(handle), next);
    }
    return true;
  }
  return false;
}

// The viewer stops answering; it keeps its place in the chain.
bool SimClipboard::HangViewer(const std::wstring& name) {
  ForeignViewer* v = FindViewer(name);
  if (v == nullptr) return false;
  world_.Trace(L"viewer " + name + L" stops answering");
  v->hung = true;
  return true;
}

ForeignViewer* SimClipboard::FindViewer(const std::wstring& name) {
  for (auto& [h, v] : viewers_) {
    if (v.name == name) return &v;
  }
  return nullptr;
}

void SimClipboard::ResetNotifications() {
  for (auto& [h, v] : viewers_) v.notified = 0;
}

ForeignViewer* SimClipboard::FindViewer(platform::WindowHandle h) {
  auto it = viewers_.find(h);
  return it == viewers_.end() ? nullptr : &it->second;
}

}  // namespace harumado::sim
