// The voice against a speech-dispatcher of the test's own whose output module writes down what
// it is asked to speak, and the path without any speech service.
#include "qt/voice_speechd.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "runtime/automation_error.h"
#include "support/linux/child_process.h"
#include "support/linux/scoped_environment.h"
#include "support/linux/speechd_session.h"

namespace harumado::qt {
namespace {

using test_support::milliseconds;
using test_support::SpeechdSession;

constexpr milliseconds kSpoken{15000};

struct Mapping {
  int sapi;
  int speechd;
};

TEST(SpeechdMapping, RateIsTenTimesTheSlider) {
  for (const Mapping m : {Mapping{-10, -100}, Mapping{-3, -30}, Mapping{0, 0}, Mapping{10, 100},
                          Mapping{15, 100}, Mapping{-11, -100}}) {
    EXPECT_EQ(SpeechdRate(m.sapi), m.speechd) << m.sapi;
  }
}

TEST(SpeechdMapping, VolumeSpansTheWholeRange) {
  for (const Mapping m : {Mapping{0, -100}, Mapping{50, 0}, Mapping{75, 50}, Mapping{100, 100},
                          Mapping{-5, -100}, Mapping{120, 100}}) {
    EXPECT_EQ(SpeechdVolume(m.sapi), m.speechd) << m.sapi;
  }
}

class SpeechdVoiceTest : public ::testing::Test {
 protected:
  void SetUp() override { voice_ = SpeechDispatcherVoiceFactory("harumado-test").CreateVoice(); }
  void TearDown() override { voice_.reset(); }

  SpeechdSession server_;
  test_support::ScopedEnvironment address_{"SPEECHD_ADDRESS", server_.Address()};
  std::unique_ptr<platform::Voice> voice_;
};

TEST_F(SpeechdVoiceTest, VoicesAreListedInTheServersOrderWithTheirLanguage) {
  const auto tokens = voice_->GetVoices();
  ASSERT_EQ(tokens.size(), 3u);
  EXPECT_EQ(tokens[0]->GetDescription(), L"haruka (ja)");
  EXPECT_EQ(tokens[1]->GetDescription(), L"ichiro (ja)");
  EXPECT_EQ(tokens[2]->GetDescription(), L"david (en)");
}

// What the speech window sends: a voice, the sliders' rate and volume, a purge and the text.
TEST_F(SpeechdVoiceTest, TheTextIsSpokenWithTheChosenVoiceRateAndVolume) {
  const auto tokens = voice_->GetVoices();
  ASSERT_EQ(tokens.size(), 3u);
  voice_->SetVoice(tokens[1]);
  voice_->SetRate(-10);
  voice_->SetVolume(75);
  voice_->Speak(L"", platform::kSpeakPurgeBefore);
  voice_->Speak(L"こんにちは、世界", platform::kSpeakAsync | platform::kSpeakIsNotXml);
  const auto spoken = server_.WaitForUtterances(1, kSpoken);
  ASSERT_EQ(spoken.size(), 1u);
  EXPECT_EQ(spoken[0].voice, "ichiro");
  EXPECT_EQ(std::stod(spoken[0].rate), -100);
  EXPECT_EQ(std::stod(spoken[0].volume), 50);
  EXPECT_EQ(spoken[0].text, "こんにちは、世界");
}

// A text that looks like markup is read as it stands, tags and all.
TEST_F(SpeechdVoiceTest, MarkupIsReadAsTextWhenTheCallerSaysSo) {
  voice_->Speak(L"<b>太字</b>", platform::kSpeakAsync | platform::kSpeakIsNotXml);
  const auto spoken = server_.WaitForUtterances(1, kSpoken);
  ASSERT_EQ(spoken.size(), 1u);
  EXPECT_EQ(spoken[0].text, "<b>太字</b>");
}

TEST_F(SpeechdVoiceTest, SpeakingGoesOnAfterAPurge) {
  voice_->Speak(L"一つ目", platform::kSpeakAsync | platform::kSpeakIsNotXml);
  ASSERT_EQ(server_.WaitForUtterances(1, kSpoken).size(), 1u);
  voice_->Speak(L"", platform::kSpeakPurgeBefore);
  voice_->Speak(L"二つ目", platform::kSpeakAsync | platform::kSpeakIsNotXml);
  const auto spoken = server_.WaitForUtterances(2, kSpoken);
  ASSERT_EQ(spoken.size(), 2u);
  EXPECT_EQ(spoken[1].text, "二つ目");
}

TEST_F(SpeechdVoiceTest, AVoiceOfAnotherServiceIsRefused) {
  struct Foreign : platform::VoiceToken {
    std::wstring GetDescription() override { return L"foreign"; }
  };
  try {
    voice_->SetVoice(std::make_shared<Foreign>());
    FAIL() << "a foreign token was taken";
  } catch (const rt::AutomationError& e) {
    EXPECT_EQ(e.number(), rt::err::kTypeMismatch);
  }
}

// No server at the address and none that may be started there: no voice object, the number of
// a missing voice class (the speech window then shows that there is no voice).
TEST(SpeechdMissing, NoServiceMeansNoVoiceObject) {
  test_support::TempDir folder;
  test_support::ScopedEnvironment address("SPEECHD_ADDRESS",
                                          "unix_socket:" + folder.path() + "/absent.sock");
  try {
    SpeechDispatcherVoiceFactory().CreateVoice();
    FAIL() << "a voice was created without a service";
  } catch (const rt::AutomationError& e) {
    EXPECT_EQ(e.number(), rt::err::kCannotCreateObject);
  }
}

// A server that goes away under a voice object: its calls fail with an automation error, which
// the speech window skips.
TEST(SpeechdGone, CallsFailOnceTheServerIsGone) {
  std::unique_ptr<platform::Voice> voice;
  {
    SpeechdSession server;
    test_support::ScopedEnvironment address("SPEECHD_ADDRESS", server.Address());
    voice = SpeechDispatcherVoiceFactory().CreateVoice();
  }
  EXPECT_THROW(voice->Speak(L"誰も聞いていない", platform::kSpeakAsync), rt::AutomationError);
}

}  // namespace
}  // namespace harumado::qt
