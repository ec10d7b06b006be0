// The speech window and the read-aloud check box against a clipboard and a voice that record
// every call: which voice settings the load sends, and the order of the steps when the window
// goes (the simulated voice cannot tell a value that was sent from one it started with).
#include <gtest/gtest.h>

#include "core/app/form1.h"
#include "core/app/program.h"
#include "core/readaloud/form3.h"
#include "recording_services.h"

namespace harumado {
namespace {

using testing::Hex;
using testing::Log;

class SpeechWindow : public ::testing::Test {
 protected:
  void SetUp() override { program.Start(); }

  // The calls of the log that start with one of these words.
  Log Take(std::initializer_list<const wchar_t*> kinds) {
    Log picked;
    for (const auto& line : rec.log) {
      for (const wchar_t* k : kinds) {
        if (line.starts_with(k)) {
          picked.push_back(line);
          break;
        }
      }
    }
    rec.log.clear();
    return picked;
  }

  app::Form1& main() { return program.form1(); }

  testing::RecordingDesktop rec;
  app::Program program{rec.services};
};

// The speed slider already stands at 0, so the voice keeps its own rate; only the volume moves.
TEST_F(SpeechWindow, LoadSendsOnlyTheVolume) {
  EXPECT_EQ(Take({L"Rate", L"Volume", L"Voice "}), (Log{L"Volume 100"}));
  EXPECT_EQ(program.form3().Command1().text(), L"Haruka");
  EXPECT_EQ(program.form3().VoiceIndex, 1);
}

// A voice object that refuses every call (as the speech service under some systems does) ends
// nothing: the sliders, the stop button and a whole turn on and off run to their end.
TEST(SpeechWindowWithRefusingVoice, EveryStepRunsToItsEnd) {
  testing::RecordingDesktop rec;
  rec.speech.refuse_calls = true;
  app::Program program{rec.services};
  program.Start();
  auto& main = program.form1();
  main.Check3().SetValue(1);
  auto& speech = program.form3();
  speech.HScroll1().UserSlide(5);
  speech.HScroll2().UserSlide(40);
  speech.Command2().UserClick();
  speech.Command1().UserClick();
  EXPECT_EQ(main.Timer2().enabled(), true);
  main.Check3().SetValue(0);
  EXPECT_EQ(main.Timer2().enabled(), false);
  EXPECT_EQ(main.Text2().text(), L"小数点以下(四捨五入)カンマなしで貼り付けます。");
  EXPECT_NE(program.loaded_form3(), nullptr);  // created again, hidden, by the z-order step
}

// Unloading while read-aloud is off (as shutdown does) still leaves the chain and releases the
// voice.
TEST_F(SpeechWindow, UnloadWithReadAloudOffUnhooksAndReleasesTheVoice) {
  const auto speech = program.form3().window().handle();
  rec.log.clear();
  program.UnloadForm3();
  EXPECT_EQ(Take({L"Restore", L"ChangeClipboardChain", L"voice released", L"SetClipboardViewer"}),
            (Log{L"RestoreWindowProc " + Hex(speech) + L" 5150",
                 L"ChangeClipboardChain " + Hex(speech) + L" 900", L"voice released"}));
  EXPECT_EQ(program.loaded_form3(), nullptr);
  EXPECT_EQ(program.hook.OldWndProc, 0u);
}

// Unticking stops the speech, leaves the chain once, destroys the window, and the z-order step
// creates it again with a fresh voice and hook.
TEST_F(SpeechWindow, TurnOffStopsUnhooksDestroysAndCreatesAgain) {
  main().Check3().UserClick();
  const auto first = program.form3().window().handle();
  rec.log.clear();
  main().Check3().UserClick();
  const auto second = program.form3().window().handle();
  EXPECT_NE(first, second);
  EXPECT_EQ(Take({L"Speak", L"Restore", L"ChangeClipboardChain", L"voice released",
                  L"SetClipboardViewer", L"Volume"}),
            (Log{L"Speak \"\" 2", L"RestoreWindowProc " + Hex(first) + L" 5150",
                 L"ChangeClipboardChain " + Hex(first) + L" 900", L"voice released", L"Volume 100",
                 L"SetClipboardViewer " + Hex(second)}));
  EXPECT_NE(program.hook.OldWndProc, 0u);
  EXPECT_EQ(program.hook.HookedWnd, second);
}

// The close box unloads the window, whose unload unticks Check3; the turn-off that this starts
// acts on the window that is going and does not create it again.
TEST_F(SpeechWindow, CloseBoxTurnsOffOnceAndLeavesNoWindow) {
  main().Check3().UserClick();
  const auto speech = program.form3().window().handle();
  rec.log.clear();
  auto close = program.form3().window().on_close_request;
  ASSERT_TRUE(close);
  close();
  EXPECT_EQ(main().Check3().value(), 0);
  EXPECT_EQ(program.loaded_form3(), nullptr);
  EXPECT_EQ(rec.desktop.windows.Find(speech), nullptr);
  EXPECT_EQ(program.hook.OldWndProc, 0u);
  EXPECT_EQ(Take({L"Speak", L"Restore", L"ChangeClipboardChain", L"voice released",
                  L"SetClipboardViewer"}),
            (Log{L"Speak \"\" 2", L"RestoreWindowProc " + Hex(speech) + L" 5150",
                 L"ChangeClipboardChain " + Hex(speech) + L" 900", L"voice released"}));
  program.OnIdle();
  // The next touch creates the window again.
  EXPECT_NE(program.form3().window().handle(), 0);
  EXPECT_NE(program.hook.OldWndProc, 0u);
}

struct TurnOffMessageCase {
  const char* name;
  std::int32_t usage_open;
  const wchar_t* text2_after;
};

class TurnOffMessage : public SpeechWindow,
                       public ::testing::WithParamInterface<TurnOffMessageCase> {};

// While the usage window is open Text2 keeps the usage text; otherwise the mode message returns.
TEST_P(TurnOffMessage, Text2) {
  main().Check3().UserClick();
  main().state.UsageOpen = GetParam().usage_open;
  main().Text2().SetText(L"使い方の説明");
  main().Check3().UserClick();
  EXPECT_EQ(main().Text2().text(), GetParam().text2_after);
}

INSTANTIATE_TEST_SUITE_P(UsageWindow, TurnOffMessage,
                         ::testing::Values(TurnOffMessageCase{"Open", 1, L"使い方の説明"},
                                           TurnOffMessageCase{
                                               "Closed", 0,
                                               L"小数点以下(四捨五入)カンマなしで貼り付けます。"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace harumado
