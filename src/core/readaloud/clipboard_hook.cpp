// The clipboard-viewer hook: the speech window joins the clipboard-viewer chain and its window
// procedure is replaced by ClipboardViewerProc, which hands every clipboard change to the
// speech window and keeps the chain intact for the other viewers.
#include "core/app/program.h"
#include "core/readaloud/form3.h"
#include "core/readaloud/module3.h"
#include "runtime/skip_mode.h"

namespace harumado::readaloud {
namespace {

// The window procedure is a plain function that the window system calls with nothing but the
// message; it reaches the program through this pointer, set when the window is hooked. Only one
// window is hooked at a time, so one pointer serves.
app::Program* hooked_program = nullptr;

// How long the next viewer is given to answer a chain message.
constexpr int kViewerAnswerMs = 1000;

// Passes a chain message on to the next viewer without letting a viewer that has stopped
// answering stop the program: the viewer is given a second, and one that did not answer last
// time is not waited for at all (the message is still sent, for it to handle when it comes back).
// It stays our successor, so the chain is kept for everyone behind it; should it answer at once,
// it is waited for again. While it is waited for, the thread handles the messages sent to it
// (another change notification among them), and those do not wait for the same viewer again.
void PassOn(HookState& hook, platform::Clipboard& clipboard, std::uint32_t message,
            std::uintptr_t wparam, std::intptr_t lparam) {
  const platform::WindowHandle next = hook.NextViewer;
  const int limit = next == hook.HungViewer ? 0 : kViewerAnswerMs;
  if (limit > 0) hook.HungViewer = next;
  const bool answered =
      clipboard.SendMessageTimeout(next, message, wparam, lparam, limit).has_value();
  // The chain may have changed meanwhile, or the hook may be gone.
  if (hook.NextViewer == next) {
    hook.HungViewer = answered ? 0 : next;
  } else if (hook.HungViewer == next) {
    hook.HungViewer = 0;
  }
}

}  // namespace

// Joins the chain first, then replaces the procedure: the notification that the system sends to
// a window joining the chain still reaches the window's own procedure and is not spoken. A second
// call while hooked changes nothing.
void HookClipboardViewer(app::Program& program, platform::WindowHandle window) {
  HookState& hook = program.hook;
  if (hook.OldWndProc != 0) return;
  auto& clipboard = program.os.clipboard;
  hooked_program = &program;
  hook.HookedWnd = window;
  hook.NextViewer = clipboard.SetClipboardViewer(window);
  hook.OldWndProc = clipboard.SetWindowProc(window, &ClipboardViewerProc);
}

// Puts the previous procedure back first, then leaves the chain. HookedWnd keeps its value.
// Nothing happens when the hook is not installed, so every place that may still hold it can call
// this.
void UnhookClipboardViewer(app::Program& program) {
  HookState& hook = program.hook;
  if (hook.OldWndProc == 0) return;
  auto& clipboard = program.os.clipboard;
  clipboard.RestoreWindowProc(hook.HookedWnd, hook.OldWndProc);
  clipboard.ChangeClipboardChain(hook.HookedWnd, hook.NextViewer);
  hook.OldWndProc = 0;
  hook.NextViewer = 0;
  hook.HungViewer = 0;
}

// A change notification is served to the speech window before it is passed down the chain; a
// chain change either updates our successor or is passed on; every other message goes to the
// window's previous procedure. A failing step is skipped and the next one runs, so a failing
// clipboard or voice call never breaks the chain and the next change is handled normally.
std::intptr_t ClipboardViewerProc(platform::WindowHandle window, std::uint32_t message,
                                  std::uintptr_t wparam, std::intptr_t lparam) {
  app::Program* program = hooked_program;
  if (program == nullptr) return 0;
  HookState& hook = program->hook;
  auto& clipboard = program->os.clipboard;
  rt::SkipMode skip;
  switch (message) {
    case platform::kWmDrawClipboard:
      // The notification is for the speech window; without one loaded there is nobody to speak.
      skip.Run([&] {
        if (Form3* speech = program->loaded_form3()) speech->OnClipboardChange();
      });
      skip.Run([&] {
        if (hook.NextViewer != 0) PassOn(hook, clipboard, message, wparam, lparam);
      });
      return 0;
    case platform::kWmChangeCbChain:
      skip.Run([&] {
        if (static_cast<platform::WindowHandle>(wparam) == hook.NextViewer) {
          hook.NextViewer = static_cast<platform::WindowHandle>(lparam);
        } else if (hook.NextViewer != 0) {
          PassOn(hook, clipboard, message, wparam, lparam);
        }
      });
      return 0;
    default: {
      std::intptr_t result = 0;
      skip.Assign(result, [&] {
        return clipboard.CallWindowProc(hook.OldWndProc, window, message, wparam, lparam);
      });
      return result;
    }
  }
}

}  // namespace harumado::readaloud
