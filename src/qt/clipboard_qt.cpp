#include "qt/clipboard_qt.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "runtime/automation_error.h"

namespace harumado::qt {
namespace {

constexpr std::int32_t kCannotOpenClipboard = 521;
constexpr auto kUtf8Text = "text/plain;charset=utf-8";
constexpr auto kPasswordManagerHint = "x-kde-passwordManagerHint";

// The "previous procedure" of a window that had none installed: the window's own handling,
// which for the messages that reach it this way (the chain's messages, sent ones) is Qt's: it
// knows none of them and answers 0. No function lives at this address.
constexpr std::uintptr_t kOwnProcedure = 1;

QClipboard* SystemClipboard() {
  return QGuiApplication::instance() != nullptr ? QGuiApplication::clipboard() : nullptr;
}

// The content of the CLIPBOARD selection, or nothing when there is none (no application).
const QMimeData* ClipboardContent() {
  QClipboard* clipboard = SystemClipboard();
  return clipboard != nullptr ? clipboard->mimeData(QClipboard::Clipboard) : nullptr;
}

}  // namespace

// QClipboard::dataChanged is the CLIPBOARD selection's signal only (the primary selection and
// the find buffer have signals of their own). The connection is dropped with the object, so a
// change after its end reaches nothing.
ClipboardQt::ClipboardQt(WindowExists window_exists, Post post)
    : window_exists_(std::move(window_exists)), post_(std::move(post)) {
  if (QClipboard* clipboard = SystemClipboard()) {
    changed_ =
        QObject::connect(clipboard, &QClipboard::dataChanged, [this] { OnClipboardChanged(); });
  }
}

ClipboardQt::~ClipboardQt() { QObject::disconnect(changed_); }

std::uint32_t ClipboardQt::SequenceNumber() { return sequence_; }

bool ClipboardQt::HasText() {
  const QMimeData* content = ClipboardContent();
  return content != nullptr && (content->hasFormat(kUtf8Text) || content->hasText());
}

// Qt reads the UTF-8 text of the owner (UTF8_STRING or text/plain;charset=utf-8 on X11). The
// text ends at its first NUL, as the Windows clipboard's text does.
std::wstring ClipboardQt::GetText() {
  QClipboard* clipboard = SystemClipboard();
  if (clipboard == nullptr)
    throw rt::AutomationError(kCannotOpenClipboard, L"Can't open Clipboard");
  std::wstring text = clipboard->text(QClipboard::Clipboard).toStdWString();
  const std::size_t nul = text.find(L'\0');
  if (nul != std::wstring::npos) text.resize(nul);
  return text;
}

// Password managers of the Linux desktop (KeePassXC, KDE's wallet) offer this target beside
// the password; the clipboard managers that honour it neither keep nor show the content.
bool ClipboardQt::IsExcludedFromMonitors() {
  const QMimeData* content = ClipboardContent();
  if (content == nullptr || !content->hasFormat(kPasswordManagerHint)) return false;
  return content->data(kPasswordManagerHint).trimmed() == "secret";
}

// A change reaches the chain's head through its current procedure, as the system's
// WM_DRAWCLIPBOARD does, at the program's next dispatch; the head passes it on to whoever
// follows it.
//
// On X11 and Wayland the content belongs to the program that copied it: when that program ends,
// the clipboard is left empty. The Windows clipboard keeps a copy when its owner ends, and
// nothing changes for its viewers, so a clipboard that became empty is no change here either.
void ClipboardQt::OnClipboardChanged() {
  const QMimeData* content = ClipboardContent();
  if (content == nullptr || content->formats().isEmpty()) return;
  ++sequence_;
  if (head_ == 0) return;
  if (!post_) {
    Deliver(head_, platform::kWmDrawClipboard, 0, 0);
    return;
  }
  // The notification is addressed now, to the head of this moment, and runs when the program
  // next dispatches; a head that has gone by then hears nothing.
  const platform::WindowHandle head = head_;
  post_([this, head, alive = std::weak_ptr<int>(alive_)] {
    if (alive.expired() || !Exists(head)) return;
    Deliver(head, platform::kWmDrawClipboard, 0, 0);
  });
}

// The new viewer hears of the current content at once, through the procedure it has now (its
// own, when the hook installs its procedure afterwards), and follows the previous head.
platform::WindowHandle ClipboardQt::SetClipboardViewer(platform::WindowHandle window) {
  if (!Exists(window)) return 0;
  const platform::WindowHandle next = head_;
  head_ = window;
  Deliver(window, platform::kWmDrawClipboard, 0, 0);
  return next;
}

// The head leaves at once; any other window's removal is told to the head, which passes it down.
void ClipboardQt::ChangeClipboardChain(platform::WindowHandle remove, platform::WindowHandle next) {
  if (head_ == 0) return;
  if (head_ == remove) {
    head_ = next;
    return;
  }
  Deliver(head_, platform::kWmChangeCbChain, static_cast<std::uintptr_t>(remove), next);
}

std::intptr_t ClipboardQt::SendMessage(platform::WindowHandle window, std::uint32_t message,
                                       std::uintptr_t wparam, std::intptr_t lparam) {
  return Deliver(window, message, wparam, lparam);
}

// Every window in the chain is the program's own, on its one thread: a send is handled before
// it returns and always answers in time. Without a time limit it is handled at once too (as
// Windows handles a notify message to a window of the calling thread) and answers nothing.
std::optional<std::intptr_t> ClipboardQt::SendMessageTimeout(platform::WindowHandle window,
                                                             std::uint32_t message,
                                                             std::uintptr_t wparam,
                                                             std::intptr_t lparam, int timeout_ms) {
  if (!Exists(window)) return std::nullopt;
  const std::intptr_t answer = Deliver(window, message, wparam, lparam);
  if (timeout_ms <= 0) return std::nullopt;
  return answer;
}

std::uintptr_t ClipboardQt::SetWindowProc(platform::WindowHandle window,
                                          platform::WindowProc proc) {
  if (!Exists(window) || proc == nullptr) return 0;
  auto it = procs_.find(window);
  const std::uintptr_t previous =
      it == procs_.end() ? kOwnProcedure : reinterpret_cast<std::uintptr_t>(it->second);
  procs_[window] = proc;
  return previous;
}

void ClipboardQt::RestoreWindowProc(platform::WindowHandle window, std::uintptr_t previous) {
  if (!Exists(window) || previous == 0) return;
  if (previous == kOwnProcedure) {
    procs_.erase(window);
  } else {
    procs_[window] = reinterpret_cast<platform::WindowProc>(previous);
  }
}

std::intptr_t ClipboardQt::CallWindowProc(std::uintptr_t previous, platform::WindowHandle window,
                                          std::uint32_t message, std::uintptr_t wparam,
                                          std::intptr_t lparam) {
  if (previous == 0 || previous == kOwnProcedure) return 0;
  return reinterpret_cast<platform::WindowProc>(previous)(window, message, wparam, lparam);
}

void ClipboardQt::WindowDestroyed(platform::WindowHandle window) { procs_.erase(window); }

// The procedure is copied out before it runs: it may unhook (and so change the table) or take
// events in which the window goes away. An error it raises ends with the message, as the
// Windows program's subclassing procedure ends it; nothing leaves into Qt's signal dispatch.
std::intptr_t ClipboardQt::Deliver(platform::WindowHandle window, std::uint32_t message,
                                   std::uintptr_t wparam, std::intptr_t lparam) {
  if (!Exists(window)) {
    procs_.erase(window);
    return 0;
  }
  auto it = procs_.find(window);
  if (it == procs_.end()) return 0;
  const platform::WindowProc proc = it->second;
  try {
    return proc(window, message, wparam, lparam);
  } catch (const rt::AutomationError&) {
    return 0;
  }
}

bool ClipboardQt::Exists(platform::WindowHandle window) const {
  if (window == 0) return false;
  return !window_exists_ || window_exists_(window);
}

}  // namespace harumado::qt
