// The clipboard-viewer chain as the Linux clipboard keeps it inside the program: the same
// answers and effects as the system's chain with no other program's viewer in it.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "qt/clipboard_qt.h"
#include "runtime/automation_error.h"

namespace harumado::qt {
namespace {

using platform::WindowHandle;

struct Call {
  WindowHandle window;
  std::uint32_t message;
  std::uintptr_t wparam;
  std::intptr_t lparam;
  bool operator==(const Call&) const = default;
};
std::vector<Call> calls;

std::intptr_t Answering(WindowHandle window, std::uint32_t message, std::uintptr_t wparam,
                        std::intptr_t lparam) {
  calls.push_back({window, message, wparam, lparam});
  return 77;
}

std::intptr_t Other(WindowHandle window, std::uint32_t message, std::uintptr_t wparam,
                    std::intptr_t lparam) {
  calls.push_back({window, message + 1000, wparam, lparam});
  return 5;
}

std::intptr_t Throwing(WindowHandle, std::uint32_t, std::uintptr_t, std::intptr_t) {
  throw rt::AutomationError(rt::err::kObjectNotSet);
}

constexpr WindowHandle kA = 0xA0;
constexpr WindowHandle kB = 0xB0;

class ClipboardChain : public ::testing::Test {
 protected:
  void SetUp() override { calls.clear(); }
  std::set<WindowHandle> windows{kA, kB};
  ClipboardQt clipboard{[this](WindowHandle h) { return windows.contains(h); }};
};

TEST_F(ClipboardChain, TheFirstViewerHasNoNextViewerAndASecondOneFollowsIt) {
  EXPECT_EQ(clipboard.SetClipboardViewer(kA), 0);
  EXPECT_EQ(clipboard.SetClipboardViewer(kB), kA);
  EXPECT_EQ(clipboard.head(), kB);
}

// The system tells a joining viewer of the content at once, through the procedure it has then.
TEST_F(ClipboardChain, AJoiningViewerIsToldThroughItsCurrentProcedure) {
  clipboard.SetClipboardViewer(kA);
  EXPECT_TRUE(calls.empty());  // its own procedure: nothing of the program's runs
  clipboard.SetWindowProc(kB, &Answering);
  clipboard.SetClipboardViewer(kB);
  EXPECT_EQ(calls, (std::vector<Call>{{kB, platform::kWmDrawClipboard, 0, 0}}));
}

TEST_F(ClipboardChain, TheHeadLeavesAtOnceAndAnotherWindowsLeavingIsToldToTheHead) {
  clipboard.SetClipboardViewer(kA);
  clipboard.SetClipboardViewer(kB);
  clipboard.SetWindowProc(kB, &Answering);
  clipboard.ChangeClipboardChain(kA, 0);
  EXPECT_EQ(calls, (std::vector<Call>{{kB, platform::kWmChangeCbChain, kA, 0}}));
  EXPECT_EQ(clipboard.head(), kB);
  clipboard.ChangeClipboardChain(kB, kA);
  EXPECT_EQ(clipboard.head(), kA);
}

struct SendCase {
  const char* name;
  bool installed;
  bool window_exists;
  int timeout_ms;
  std::optional<std::intptr_t> answer;
  bool handled;
};

class SendWithTimeLimit : public ClipboardChain, public ::testing::WithParamInterface<SendCase> {};

// Every window is the program's own, on its one thread: a send is handled before it returns.
TEST_P(SendWithTimeLimit, AnswersAsAWindowOfTheSameThread) {
  const SendCase& c = GetParam();
  if (c.installed) clipboard.SetWindowProc(kA, &Answering);
  if (!c.window_exists) windows.erase(kA);
  EXPECT_EQ(clipboard.SendMessageTimeout(kA, platform::kWmDrawClipboard, 1, 2, c.timeout_ms),
            c.answer);
  EXPECT_EQ(calls.size(), c.handled ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SendWithTimeLimit,
    ::testing::Values(SendCase{"ProcedureAnswers", true, true, 1000, 77, true},
                      SendCase{"NoLimitHandledButNoAnswer", true, true, 0, std::nullopt, true},
                      SendCase{"OwnProcedureAnswersZero", false, true, 1000, 0, false},
                      SendCase{"GoneWindowAnswersNothing", true, false, 1000, std::nullopt, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ClipboardChain, ProceduresStackAndArePutBack) {
  const std::uintptr_t own = clipboard.SetWindowProc(kA, &Other);
  EXPECT_NE(own, 0u);
  const std::uintptr_t previous = clipboard.SetWindowProc(kA, &Answering);
  EXPECT_EQ(previous, reinterpret_cast<std::uintptr_t>(&Other));
  EXPECT_EQ(clipboard.SendMessage(kA, 0x10, 0, 0), 77);
  // The previous procedure runs when called, the window's own answers 0.
  EXPECT_EQ(clipboard.CallWindowProc(previous, kA, 0x10, 0, 0), 5);
  EXPECT_EQ(clipboard.CallWindowProc(own, kA, 0x10, 0, 0), 0);
  clipboard.RestoreWindowProc(kA, previous);
  EXPECT_EQ(clipboard.SendMessage(kA, 0x10, 0, 0), 5);
  clipboard.RestoreWindowProc(kA, own);
  EXPECT_EQ(clipboard.SendMessage(kA, 0x10, 0, 0), 0);
  EXPECT_EQ(calls.size(), 3u);
}

TEST_F(ClipboardChain, NoProcedureIsInstalledOnAMissingWindow) {
  EXPECT_EQ(clipboard.SetWindowProc(0x999, &Answering), 0u);
  EXPECT_EQ(clipboard.SetWindowProc(0, &Answering), 0u);
}

// A destroyed window's procedure is forgotten: a handle used again later runs nothing of it.
TEST_F(ClipboardChain, ADestroyedWindowsProcedureIsForgotten) {
  clipboard.SetWindowProc(kA, &Answering);
  clipboard.WindowDestroyed(kA);
  EXPECT_EQ(clipboard.SendMessage(kA, platform::kWmDrawClipboard, 0, 0), 0);
  EXPECT_TRUE(calls.empty());
}

TEST_F(ClipboardChain, AnErrorInAProcedureEndsWithTheMessage) {
  clipboard.SetWindowProc(kA, &Throwing);
  EXPECT_EQ(clipboard.SendMessage(kA, platform::kWmDrawClipboard, 0, 0), 0);
}

}  // namespace
}  // namespace harumado::qt
