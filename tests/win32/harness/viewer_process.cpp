// A clipboard viewer in another process that can stop answering: this harness started again as
// `viewer-process NAME`, told what to do through named events that the starting side creates.
#include <vector>

#include "harness.h"

namespace harumado::harness {
namespace {

// Nothing of the other process outlives a scenario: it ends by itself after this long.
constexpr DWORD kLifetimeMs = 90000;

std::wstring EventName(const std::wstring& name, const wchar_t* what) {
  return L"Local\\HarumadoHarnessViewer." + name + L"." + what;
}

win32::UniqueHandle CreateNamedEvent(const std::wstring& name, const wchar_t* what) {
  return win32::UniqueHandle(::CreateEventW(nullptr, TRUE, FALSE, EventName(name, what).c_str()));
}

win32::UniqueHandle OpenNamedEvent(const std::wstring& name, const wchar_t* what) {
  return win32::UniqueHandle(
      ::OpenEventW(SYNCHRONIZE | EVENT_MODIFY_STATE, FALSE, EventName(name, what).c_str()));
}

DWORD Remaining(ULONGLONG end) {
  const ULONGLONG now = ::GetTickCount64();
  return now < end ? static_cast<DWORD>(end - now) : 0;
}

// Handles this thread's messages until one of the events is set: its place in the list, or -1
// when the time ran out first.
int AnswerUntil(const std::vector<HANDLE>& events, ULONGLONG end) {
  const auto count = static_cast<DWORD>(events.size());
  for (;;) {
    const DWORD woke =
        ::MsgWaitForMultipleObjects(count, events.data(), FALSE, Remaining(end), QS_ALLINPUT);
    if (woke < WAIT_OBJECT_0 + count) return static_cast<int>(woke - WAIT_OBJECT_0);
    if (woke != WAIT_OBJECT_0 + count) return -1;
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
}

}  // namespace

ViewerProcess::ViewerProcess(const std::wstring& name)
    : hang_(CreateNamedEvent(name, L"hang")),
      answer_(CreateNamedEvent(name, L"answer")),
      end_(CreateNamedEvent(name, L"end")) {
  win32::UniqueHandle joined = CreateNamedEvent(name, L"joined");
  if (!hang_ || !answer_ || !end_ || !joined) {
    Fail(L"the viewer's events", L"created", L"error " + std::to_wstring(::GetLastError()));
    return;
  }
  wchar_t self[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(self) + L"\" viewer-process " + name;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(self, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
    Fail(L"the viewer process", L"started", L"error " + std::to_wstring(::GetLastError()));
    return;
  }
  process_.reset(info.hProcess);
  ::CloseHandle(info.hThread);
  // Messages sent to this thread's windows (a viewer of its own behind it) go on meanwhile.
  joined_ = WaitUntil([&] { return ::WaitForSingleObject(joined.get(), 0) == WAIT_OBJECT_0; },
                      std::chrono::seconds(10));
  if (!joined_) Fail(L"the viewer process joins the chain", L"joined", L"not within 10 s");
}

ViewerProcess::~ViewerProcess() { End(); }

void ViewerProcess::Hang() { ::SetEvent(hang_.get()); }

void ViewerProcess::Answer() { ::SetEvent(answer_.get()); }

int ViewerProcess::End() {
  if (!process_) return -1;
  ::SetEvent(answer_.get());
  ::SetEvent(end_.get());
  const bool ended =
      WaitUntil([&] { return ::WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0; },
                std::chrono::seconds(10));
  DWORD code = 0;
  if (!ended) {
    Fail(L"the viewer process ends", L"ended", L"still running");
    ::TerminateProcess(process_.get(), 99);
    ::WaitForSingleObject(process_.get(), 5000);
  } else {
    ::GetExitCodeProcess(process_.get(), &code);
  }
  process_.reset();
  return ended ? static_cast<int>(code) : -1;
}

// Answers as a correct viewer until told to hang; then takes no message at all (messages sent
// to it wait, and so does every sender without a time limit) until told to answer again, and
// answers until told to end. Every wait is bounded, so the process never outlives the scenario.
int RunViewerProcess(const std::wstring& name) {
  win32::UniqueHandle joined = OpenNamedEvent(name, L"joined");
  win32::UniqueHandle hang = OpenNamedEvent(name, L"hang");
  win32::UniqueHandle answer = OpenNamedEvent(name, L"answer");
  win32::UniqueHandle end = OpenNamedEvent(name, L"end");
  if (!joined || !hang || !answer || !end) return 200;
  const ULONGLONG until = ::GetTickCount64() + kLifetimeMs;
  ViewerWindow viewer;
  ::SetEvent(joined.get());
  if (AnswerUntil({hang.get(), end.get()}, until) == 0) {
    const HANDLE answer_or_end[] = {answer.get(), end.get()};
    ::WaitForMultipleObjects(2, answer_or_end, FALSE, Remaining(until));
    AnswerUntil({end.get()}, until);
  }
  return viewer.notifications();
}

}  // namespace harumado::harness
