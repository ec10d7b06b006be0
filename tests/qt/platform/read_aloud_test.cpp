// The program's read-aloud on the Linux desktop: its clipboard hook on the Linux clipboard, its
// voice on speech-dispatcher, and copies made by other processes on a real X display (the rest
// of the desktop, Excel and the windows, is the simulated one).
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <memory>
#include <optional>

#include "core/app/form1.h"
#include "core/app/program.h"
#include "core/readaloud/form3.h"
#include "qt/clipboard_qt.h"
#include "qt/voice_speechd.h"
#include "sim/desktop.h"
#include "support/linux/child_process.h"
#include "support/linux/scoped_environment.h"
#include "support/linux/speechd_session.h"
#include "x_display_test.h"

namespace harumado::qt::testing {
namespace {

class ReadAloudOnLinux : public XDisplayTest {
 protected:
  void SetUp() override {
    XDisplayTest::SetUp();
    speechd_ = std::make_unique<SpeechdSession>();
    address_.emplace("SPEECHD_ADDRESS", speechd_->Address());
    clipboard_ = std::make_unique<ClipboardQt>(
        [this](platform::WindowHandle h) { return desktop_.windows.Find(h) != nullptr; });
    services_ = std::make_unique<platform::Services>(
        platform::Services{desktop_.excel, desktop_.windows, *clipboard_, voices_, desktop_.files,
                           desktop_.system, desktop_.files});
    program_ = std::make_unique<app::Program>(*services_);
    program_->Start();
  }
  void TearDown() override {
    copiers_.clear();
    program_.reset();
    clipboard_.reset();
    address_.reset();
    speechd_.reset();
    XDisplayTest::TearDown();
  }

  // Each copier runs until the end of the test (see clipboard_qt_test.cpp).
  void CopyWithXclip(const std::string& text) {
    ChildOptions options;
    options.environment = {x_->DisplayVariable()};
    const std::string file =
        folder_.Write("copied" + std::to_string(copiers_.size()) + ".txt", text);
    copiers_.push_back(std::make_unique<ChildProcess>(
        std::vector<std::string>{"xclip", "-quiet", "-selection", "clipboard", "-i", file},
        options));
  }

  void CopyAsPasswordManager(const std::string& text) {
    ChildOptions options;
    options.environment = {x_->DisplayVariable(), "QT_QPA_PLATFORM=xcb"};
    options.pipe_stdout = true;
    copiers_.push_back(std::make_unique<ChildProcess>(
        std::vector<std::string>{HARUMADO_SECRET_COPY, text}, options));
    ASSERT_EQ(copiers_.back()->ReadLine(milliseconds(15000)), "owner");
  }

  // Dispatches the program's events until the speech server has recorded count utterances.
  std::vector<Utterance> SpokenAfterDispatch(std::size_t count) {
    DispatchUntil([&] { return speechd_->Utterances().size() >= count; }, milliseconds(15000));
    return speechd_->Utterances();
  }

  TempDir folder_;
  std::unique_ptr<SpeechdSession> speechd_;
  std::optional<ScopedEnvironment> address_;
  sim::Desktop desktop_;
  std::unique_ptr<ClipboardQt> clipboard_;
  SpeechDispatcherVoiceFactory voices_{"harumado-test"};
  std::unique_ptr<platform::Services> services_;
  std::unique_ptr<app::Program> program_;
  std::vector<std::unique_ptr<ChildProcess>> copiers_;
};

TEST_F(ReadAloudOnLinux, TheSpeechWindowJoinsTheChainWithItsVoices) {
  const platform::WindowHandle speech = program_->form3().window().handle();
  EXPECT_EQ(clipboard_->head(), speech);
  EXPECT_EQ(program_->hook.NextViewer, 0);
  EXPECT_NE(program_->hook.OldWndProc, 0u);
  EXPECT_EQ(program_->form3().Command1().text(), L"haruka (ja)");
}

TEST_F(ReadAloudOnLinux, ACopiedTextIsSpokenWhileReadAloudIsOn) {
  program_->form1().Check3().SetValue(1);
  CopyWithXclip("コピーした文章");
  const auto spoken = SpokenAfterDispatch(1);
  ASSERT_EQ(spoken.size(), 1u);
  EXPECT_EQ(spoken[0].text, "コピーした文章");
  EXPECT_EQ(std::stod(spoken[0].volume), 100);  // the volume slider at 100
  EXPECT_EQ(std::stod(spoken[0].rate), 0);      // the speed slider at 0
}

// The voice button moves on through the server's voices; the voice it names is the one heard.
TEST_F(ReadAloudOnLinux, TheVoiceButtonsVoiceIsHeard) {
  program_->form1().Check3().SetValue(1);
  auto& speech = program_->form3();
  speech.Command1().UserClick();
  speech.Command1().UserClick();
  EXPECT_EQ(speech.Command1().text(), L"david (en)");
  CopyWithXclip("hello");
  const auto spoken = SpokenAfterDispatch(1);
  ASSERT_EQ(spoken.size(), 1u);
  EXPECT_EQ(spoken[0].voice, "david");
}

// A password manager's copy goes by unspoken: the copy after it is the next thing heard.
TEST_F(ReadAloudOnLinux, APasswordIsNeverSpoken) {
  program_->form1().Check3().SetValue(1);
  const std::uint32_t before = clipboard_->SequenceNumber();
  CopyAsPasswordManager("hunter2");
  ASSERT_TRUE(DispatchUntil([&] { return clipboard_->SequenceNumber() == before + 1; }));
  CopyWithXclip("次の文章");
  const auto spoken = SpokenAfterDispatch(1);
  ASSERT_EQ(spoken.size(), 1u);
  EXPECT_EQ(spoken[0].text, "次の文章");
}

// Unticking read-aloud destroys the speech window and the z-order step makes a new one, hooked
// afresh: the chain leads to the new window, and a copy is counted but not spoken.
TEST_F(ReadAloudOnLinux, AfterReadAloudIsTurnedOffNothingIsSpoken) {
  program_->form1().Check3().SetValue(1);
  const platform::WindowHandle first = program_->form3().window().handle();
  program_->form1().Check3().SetValue(0);
  program_->OnIdle();
  const platform::WindowHandle second = program_->form3().window().handle();
  EXPECT_NE(first, second);
  EXPECT_EQ(clipboard_->head(), second);
  EXPECT_EQ(program_->hook.NextViewer, 0);
  const std::uint32_t before = clipboard_->SequenceNumber();
  CopyWithXclip("聞こえない");
  ASSERT_TRUE(DispatchUntil([&] { return clipboard_->SequenceNumber() == before + 1; }));
  // Ticked again, the next copy is heard, and the one before it never was.
  program_->form1().Check3().SetValue(1);
  CopyWithXclip("聞こえる");
  const auto spoken = SpokenAfterDispatch(1);
  ASSERT_EQ(spoken.size(), 1u);
  EXPECT_EQ(spoken[0].text, "聞こえる");
}

}  // namespace
}  // namespace harumado::qt::testing
