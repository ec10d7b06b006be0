// The clipboard-viewer hook against a clipboard that records every call: the order of the
// platform calls, what repeated calls do, and what the window procedure does with each message
// (the simulated chain shows the effects, not the calls themselves).
#include <gtest/gtest.h>

#include "core/app/form1.h"
#include "core/app/program.h"
#include "core/readaloud/form3.h"
#include "core/readaloud/module3.h"
#include "recording_services.h"

namespace harumado {
namespace {

using testing::Hex;
using testing::Log;

class ClipboardHook : public ::testing::Test {
 protected:
  void SetUp() override {
    program.Start();
    speech_window = program.form3().window().handle();
  }

  Log TakeLog() {
    Log l = std::move(rec.log);
    rec.log.clear();
    return l;
  }

  testing::RecordingDesktop rec;
  app::Program program{rec.services};
  platform::WindowHandle speech_window = 0;
};

// Start-up creates the speech window, whose load hooks it.
TEST_F(ClipboardHook, StartUpJoinsTheChainBeforeReplacingTheProcedure) {
  Log joined;
  for (const auto& line : rec.log) {
    if (line.starts_with(L"Set")) joined.push_back(line);
  }
  EXPECT_EQ(joined, (Log{L"SetClipboardViewer " + Hex(speech_window),
                         L"SetWindowProc " + Hex(speech_window)}));
  EXPECT_EQ(program.hook.HookedWnd, speech_window);
  EXPECT_EQ(program.hook.NextViewer, 0x900);
  EXPECT_EQ(program.hook.OldWndProc, 0x5150u);
  EXPECT_EQ(rec.clipboard.installed, &readaloud::ClipboardViewerProc);
}

TEST_F(ClipboardHook, SecondHookChangesNothing) {
  TakeLog();
  readaloud::HookClipboardViewer(program, 0x4444);
  EXPECT_TRUE(TakeLog().empty());
  EXPECT_EQ(program.hook.HookedWnd, speech_window);
  EXPECT_EQ(program.hook.NextViewer, 0x900);
}

TEST_F(ClipboardHook, UnhookPutsTheProcedureBackFirstAndLeavesTheChainOnce) {
  TakeLog();
  readaloud::UnhookClipboardViewer(program);
  readaloud::UnhookClipboardViewer(program);
  EXPECT_EQ(TakeLog(), (Log{L"RestoreWindowProc " + Hex(speech_window) + L" 5150",
                            L"ChangeClipboardChain " + Hex(speech_window) + L" 900"}));
  EXPECT_EQ(program.hook.OldWndProc, 0u);
  EXPECT_EQ(program.hook.NextViewer, 0);
  EXPECT_EQ(program.hook.HookedWnd, speech_window);  // kept after unhooking
}

TEST_F(ClipboardHook, HookAgainAfterUnhookTakesTheNewSuccessor) {
  readaloud::UnhookClipboardViewer(program);
  rec.clipboard.next_viewer = 0x777;
  TakeLog();
  readaloud::HookClipboardViewer(program, speech_window);
  EXPECT_EQ(TakeLog(), (Log{L"SetClipboardViewer " + Hex(speech_window),
                            L"SetWindowProc " + Hex(speech_window)}));
  EXPECT_EQ(program.hook.NextViewer, 0x777);
  EXPECT_NE(program.hook.OldWndProc, 0u);
}

// The window has joined the chain, but with no previous procedure the module counts as not
// hooked, and unhooking does nothing.
TEST_F(ClipboardHook, FailedProcedureReplacementCountsAsNotHooked) {
  readaloud::UnhookClipboardViewer(program);
  rec.clipboard.previous_proc = 0;
  readaloud::HookClipboardViewer(program, speech_window);
  EXPECT_EQ(program.hook.OldWndProc, 0u);
  TakeLog();
  readaloud::UnhookClipboardViewer(program);
  EXPECT_TRUE(TakeLog().empty());
}

struct ProcCase {
  const char* name;
  bool read_aloud;
  platform::WindowHandle next_viewer;
  std::uint32_t message;
  std::uintptr_t wparam;
  std::intptr_t lparam;
  std::intptr_t result;
  Log calls;                     // made by the procedure, in order
  platform::WindowHandle after;  // NextViewer afterwards
};

class ClipboardViewerProcTable : public ClipboardHook,
                                 public ::testing::WithParamInterface<ProcCase> {};

TEST_P(ClipboardViewerProcTable, Message) {
  const ProcCase& c = GetParam();
  program.hook.NextViewer = c.next_viewer;
  if (c.read_aloud) program.form1().Check3().SetValue(1);
  TakeLog();
  const std::intptr_t result =
      readaloud::ClipboardViewerProc(speech_window, c.message, c.wparam, c.lparam);
  Log calls;
  for (auto& line : TakeLog()) {
    if (line.starts_with(L"Speak") || line.starts_with(L"SendMessage") ||
        line.starts_with(L"CallWindowProc")) {
      calls.push_back(line);
    }
  }
  Log want = c.calls;
  for (auto& line : want) {
    const auto at = line.find(L"WND");
    if (at != std::wstring::npos) line.replace(at, 3, Hex(speech_window));
  }
  EXPECT_EQ(calls, want);
  EXPECT_EQ(result, c.result);
  EXPECT_EQ(program.hook.NextViewer, c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, ClipboardViewerProcTable,
    ::testing::Values(
        // The speech window is served before the notification goes on.
        ProcCase{
            "ChangeIsSpokenThenPassedOn",
            true,
            0x900,
            0x0308,
            0,
            0,
            0,
            {L"Speak \"\" 2", L"Speak \"こんにちは\" 17", L"SendMessageTimeout 900 308 0 0 1000"},
            0x900},
        ProcCase{"ChangePassedOnWhileReadAloudIsOff",
                 false,
                 0x900,
                 0x0308,
                 0,
                 0,
                 0,
                 {L"SendMessageTimeout 900 308 0 0 1000"},
                 0x900},
        ProcCase{"ChangeWithNoSuccessorIsOnlySpoken",
                 true,
                 0,
                 0x0308,
                 0,
                 0,
                 0,
                 {L"Speak \"\" 2", L"Speak \"こんにちは\" 17"},
                 0},
        ProcCase{
            "SuccessorLeavesForItsSuccessor", false, 0x900, 0x030D, 0x900, 0xA00, 0, {}, 0xA00},
        ProcCase{"LastSuccessorLeaves", false, 0x900, 0x030D, 0x900, 0, 0, {}, 0},
        ProcCase{"WindowFurtherDownLeaves",
                 false,
                 0x900,
                 0x030D,
                 0xB00,
                 0xC00,
                 0,
                 {L"SendMessageTimeout 900 30D B00 C00 1000"},
                 0x900},
        ProcCase{"ChainChangeWithNoSuccessorGoesNowhere", false, 0, 0x030D, 0xB00, 0xC00, 0, {}, 0},
        ProcCase{"OtherMessagesGoToThePreviousProcedure",
                 false,
                 0x900,
                 0x000F,
                 7,
                 8,
                 42,
                 {L"CallWindowProc 5150 WND F 7 8"},
                 0x900}),
    [](const auto& info) { return std::string(info.param.name); });

// A failing clipboard call is discarded: the notification still goes on, the result is the
// normal one, and the next change is handled normally.
TEST_F(ClipboardHook, FailureWhileServingTheSpeechWindowKeepsTheChain) {
  program.form1().Check3().SetValue(1);
  rec.clipboard.fail_has_text = true;
  TakeLog();
  EXPECT_EQ(readaloud::ClipboardViewerProc(speech_window, 0x0308, 0, 0), 0);
  EXPECT_EQ(TakeLog(), (Log{L"SendMessageTimeout 900 308 0 0 1000"}));

  rec.clipboard.fail_has_text = false;
  readaloud::ClipboardViewerProc(speech_window, 0x0308, 0, 0);
  EXPECT_EQ(TakeLog(), (Log{L"Speak \"\" 2", L"Speak \"こんにちは\" 17",
                            L"SendMessageTimeout 900 308 0 0 1000"}));
}

// A successor that stops answering is given a second once; after that the messages are still
// sent to it, without a wait, and it stays the successor. An answer ends the mark, and a successor
// that follows it in the chain is waited for as usual.
TEST_F(ClipboardHook, SuccessorThatStopsAnsweringIsNotWaitedForAgain) {
  rec.clipboard.hung.insert(0x900);
  TakeLog();
  readaloud::ClipboardViewerProc(speech_window, 0x0308, 0, 0);
  readaloud::ClipboardViewerProc(speech_window, 0x0308, 0, 0);
  readaloud::ClipboardViewerProc(speech_window, 0x030D, 0xB00, 0xC00);
  EXPECT_EQ(TakeLog(),
            (Log{L"SendMessageTimeout 900 308 0 0 1000", L"SendMessageTimeout 900 308 0 0 0",
                 L"SendMessageTimeout 900 30D B00 C00 0"}));
  EXPECT_EQ(program.hook.NextViewer, 0x900);
  EXPECT_EQ(program.hook.HungViewer, 0x900);

  rec.clipboard.hung.clear();
  readaloud::ClipboardViewerProc(speech_window, 0x0308, 0, 0);
  readaloud::ClipboardViewerProc(speech_window, 0x0308, 0, 0);
  EXPECT_EQ(TakeLog(),
            (Log{L"SendMessageTimeout 900 308 0 0 0", L"SendMessageTimeout 900 308 0 0 1000"}));
  EXPECT_EQ(program.hook.HungViewer, 0);

  rec.clipboard.hung.insert(0x900);
  readaloud::ClipboardViewerProc(speech_window, 0x0308, 0, 0);
  readaloud::ClipboardViewerProc(speech_window, 0x030D, 0x900, 0xA00);  // it leaves
  readaloud::ClipboardViewerProc(speech_window, 0x0308, 0, 0);
  EXPECT_EQ(TakeLog(),
            (Log{L"SendMessageTimeout 900 308 0 0 1000", L"SendMessageTimeout A00 308 0 0 1000"}));
  EXPECT_EQ(program.hook.NextViewer, 0xA00);
}

// Unhooking forgets a successor that did not answer: after hooking again it is waited for.
TEST_F(ClipboardHook, UnhookForgetsTheSuccessorThatDidNotAnswer) {
  rec.clipboard.hung.insert(0x900);
  readaloud::ClipboardViewerProc(speech_window, 0x0308, 0, 0);
  readaloud::UnhookClipboardViewer(program);
  EXPECT_EQ(program.hook.HungViewer, 0);
  readaloud::HookClipboardViewer(program, speech_window);
  TakeLog();
  readaloud::ClipboardViewerProc(speech_window, 0x0308, 0, 0);
  EXPECT_EQ(TakeLog(), (Log{L"SendMessageTimeout 900 308 0 0 1000"}));
}

// A change notification handled while the program waits for the next viewer (the thread takes
// the messages sent to it meanwhile) passes the change on without waiting for that viewer too.
TEST_F(ClipboardHook, NotificationDuringTheWaitDoesNotWaitAgain) {
  rec.clipboard.hung.insert(0x900);
  rec.clipboard.during_send = [&] { readaloud::ClipboardViewerProc(speech_window, 0x0308, 0, 0); };
  TakeLog();
  readaloud::ClipboardViewerProc(speech_window, 0x0308, 0, 0);
  EXPECT_EQ(TakeLog(),
            (Log{L"SendMessageTimeout 900 308 0 0 1000", L"SendMessageTimeout 900 308 0 0 0"}));
  EXPECT_EQ(program.hook.HungViewer, 0x900);

  // With a viewer that answers, the mark goes once the wait is over.
  rec.clipboard.hung.clear();
  readaloud::UnhookClipboardViewer(program);
  readaloud::HookClipboardViewer(program, speech_window);
  rec.clipboard.during_send = [&] { readaloud::ClipboardViewerProc(speech_window, 0x0308, 0, 0); };
  TakeLog();
  readaloud::ClipboardViewerProc(speech_window, 0x0308, 0, 0);
  EXPECT_EQ(program.hook.HungViewer, 0);

  // The successor leaves while it is waited for: nothing is left marked.
  rec.clipboard.hung.insert(0x900);
  rec.clipboard.during_send = [&] {
    readaloud::ClipboardViewerProc(speech_window, 0x030D, 0x900, 0xA00);
  };
  readaloud::ClipboardViewerProc(speech_window, 0x0308, 0, 0);
  EXPECT_EQ(program.hook.NextViewer, 0xA00);
  EXPECT_EQ(program.hook.HungViewer, 0);
}

}  // namespace
}  // namespace harumado
