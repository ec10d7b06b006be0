#include "win32/clipboard_opener.h"

namespace harumado::win32 {
namespace {

// Only one thread of the whole session can have the clipboard open, and right after every change
// someone else does: the clipboard history (on Windows) or the bridge to the X selection (under
// wine) opens it to take a copy of what was put there, and every other viewer reads it at the
// same moment as this program. Each holds it for a few milliseconds, a large picture for some
// hundred. A retry every 10 ms (about one time slice, so the holder gets to run and close) for
// half a second outlasts those copies; the thread waiting here is a window's, and half a second
// in the rare failing case is still short enough not to look hung.
constexpr int kAttempts = 50;
constexpr DWORD kIntervalMs = 10;

}  // namespace

ClipboardOpener::ClipboardOpener() {
  for (int attempt = 0; attempt < kAttempts && !open_; ++attempt) {
    if (attempt > 0) ::Sleep(kIntervalMs);
    open_ = ::OpenClipboard(nullptr) != FALSE;
  }
}

ClipboardOpener::~ClipboardOpener() {
  if (open_) ::CloseClipboard();
}

}  // namespace harumado::win32
