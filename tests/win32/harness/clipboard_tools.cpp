// The clipboard from the harness's side: copying text, and a viewer window in the chain.
#include <cstdio>
#include <cstring>
#include <optional>

#include "harness.h"
#include "win32/clipboard_opener.h"

namespace harumado::harness {

bool CopyText(const std::wstring& text, bool secret) {
  const win32::ClipboardOpener clipboard;
  if (!clipboard.open()) return false;
  ::EmptyClipboard();
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
  bool ok = false;
  if (memory != nullptr) {
    std::memcpy(::GlobalLock(memory), text.c_str(), bytes);
    ::GlobalUnlock(memory);
    ok = ::SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    if (!ok) ::GlobalFree(memory);
  }
  if (ok && secret) {
    const UINT marker = ::RegisterClipboardFormatW(L"ExcludeClipboardContentFromMonitorProcessing");
    HGLOBAL flag = ::GlobalAlloc(GMEM_MOVEABLE, sizeof(DWORD));
    ok = marker != 0 && flag != nullptr;
    if (ok) {
      *static_cast<DWORD*>(::GlobalLock(flag)) = 0;
      ::GlobalUnlock(flag);
      ok = ::SetClipboardData(marker, flag) != nullptr;
    }
    if (!ok && flag != nullptr) ::GlobalFree(flag);
  }
  return ok;
}

std::optional<DWORD> RunHarnessAgain(const std::wstring& arguments) {
  wchar_t self[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(self) + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(self, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
    return std::nullopt;
  }
  win32::UniqueHandle process(info.hProcess);
  win32::UniqueHandle thread(info.hThread);
  // The other process ends quickly; messages to this thread's windows are handled meanwhile.
  const bool ended =
      WaitUntil([&] { return ::WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0; },
                std::chrono::seconds(10));
  if (!ended) {
    // Nothing the harness started outlives the check.
    ::TerminateProcess(process.get(), 1);
    ::WaitForSingleObject(process.get(), 5000);
    return std::nullopt;
  }
  DWORD code = 1;
  ::GetExitCodeProcess(process.get(), &code);
  return code;
}

bool CopyFromAnotherProcess(const std::wstring& arguments) {
  // Wine's loader now and then dies as a process starts, and on a loaded machine wine's own
  // clipboard manager can hold the clipboard for longer than the copier's budget: a copy that
  // failed and left the clipboard as it was is made again. One that failed after the clipboard
  // changed is not (the program may already be pasting what it saw).
  constexpr int kAttempts = 3;
  for (int attempt = 1; attempt <= kAttempts; ++attempt) {
    const DWORD before = ::GetClipboardSequenceNumber();
    const std::optional<DWORD> code = RunHarnessAgain(arguments);
    if (code == 0u) return true;
    const bool changed = ::GetClipboardSequenceNumber() != before;
    wchar_t ending[32] = L"did not end in 10 s";
    if (code) std::swprintf(ending, 32, L"ended with 0x%lX", static_cast<unsigned long>(*code));
    Note(L"the copying process (" + arguments + L") " + ending +
         (changed ? L" after changing the clipboard" : L" and left the clipboard as it was"));
    if (changed) return false;
  }
  return false;
}

bool CopyTextFromAnotherProcess(const std::wstring& text, bool secret) {
  return CopyFromAnotherProcess((secret ? L"copy-secret \"" : L"copy-text \"") + text + L"\"");
}

ViewerWindow::ViewerWindow() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = &ViewerWindow::Proc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = L"HarumadoHarnessViewer";
  ::RegisterClassW(&wc);
  hwnd_ = ::CreateWindowExW(0, wc.lpszClassName, L"harness viewer", WS_POPUP, 0, 0, 1, 1, nullptr,
                            nullptr, wc.hInstance, this);
  // The system tells a new viewer of the current content as it joins.
  next_ = ::SetClipboardViewer(hwnd_);
  if (!WaitForNotifications(1, std::chrono::seconds(2))) {
    Fail(L"a new viewer is told of the clipboard's content", L"notified", L"not notified");
  }
  notifications_ = 0;
}

ViewerWindow::~ViewerWindow() {
  ::ChangeClipboardChain(hwnd_, next_);
  ::DestroyWindow(hwnd_);
}

LRESULT CALLBACK ViewerWindow::Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<ViewerWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self != nullptr) {
    if (message == WM_DRAWCLIPBOARD) {
      ++self->notifications_;
      if (self->next_ != nullptr) ::SendMessageW(self->next_, message, wparam, lparam);
      return 0;
    }
    if (message == WM_CHANGECBCHAIN) {
      if (reinterpret_cast<HWND>(wparam) == self->next_) {
        self->next_ = reinterpret_cast<HWND>(lparam);
      } else if (self->next_ != nullptr) {
        ::SendMessageW(self->next_, message, wparam, lparam);
      }
      return 0;
    }
  }
  return ::DefWindowProcW(hwnd, message, wparam, lparam);
}

bool ViewerWindow::WaitForNotifications(int count, std::chrono::milliseconds within) {
  return WaitUntil([&] { return notifications_ >= count; }, within);
}

}  // namespace harumado::harness
