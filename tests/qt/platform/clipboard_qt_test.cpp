// The clipboard against a real X clipboard: other processes copy, the program's clipboard sees
// the change, its text and the password managers' marker, and its hooked window is told.
#include "qt/clipboard_qt.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <cstdlib>
#include <functional>
#include <vector>

#include "support/linux/child_process.h"
#include "x_display_test.h"

namespace harumado::qt::testing {

namespace {

struct Received {
  platform::WindowHandle window;
  std::uint32_t message;
};
std::vector<Received> received;

std::intptr_t RecordingProc(platform::WindowHandle window, std::uint32_t message, std::uintptr_t,
                            std::intptr_t) {
  received.push_back({window, message});
  return 0;
}

constexpr platform::WindowHandle kSpeechWindow = 0x5100;

class ClipboardQtTest : public XDisplayTest {
 protected:
  void SetUp() override {
    XDisplayTest::SetUp();
    received.clear();
    clipboard_ = std::make_unique<ClipboardQt>();
    // The hook's order: join the chain, then install the procedure.
    ASSERT_EQ(clipboard_->SetClipboardViewer(kSpeechWindow), 0);
    own_procedure_ = clipboard_->SetWindowProc(kSpeechWindow, &RecordingProc);
    ASSERT_NE(own_procedure_, 0u);
  }
  void TearDown() override {
    copiers_.clear();
    clipboard_.reset();
    XDisplayTest::TearDown();
  }

  // xclip serves the file's bytes as the selection's text (UTF8_STRING) until another program
  // takes the selection over. Each copier runs until the end of the test: one that ended before
  // the next copy took over would leave the clipboard empty in between.
  ChildProcess& CopyWithXclip(const std::string& selection, const std::string& text) {
    const std::string file =
        folder_.Write("copied" + std::to_string(copiers_.size()) + ".txt", text);
    ChildOptions options;
    options.environment = {x_->DisplayVariable()};
    copiers_.push_back(std::make_unique<ChildProcess>(
        std::vector<std::string>{"xclip", "-quiet", "-selection", selection, "-i", file}, options));
    return *copiers_.back();
  }

  bool WaitForSequence(std::uint32_t sequence) {
    return DispatchUntil([&] { return clipboard_->SequenceNumber() >= sequence; });
  }

  TempDir folder_;
  std::unique_ptr<ClipboardQt> clipboard_;
  std::uintptr_t own_procedure_ = 0;
  std::vector<std::unique_ptr<ChildProcess>> copiers_;
};

TEST_F(ClipboardQtTest, TextCopiedByAnotherProcessIsSeenAndTheHookedWindowIsTold) {
  const std::uint32_t before = clipboard_->SequenceNumber();
  CopyWithXclip("clipboard", "こんにちは world");
  ASSERT_TRUE(WaitForSequence(before + 1));
  EXPECT_EQ(clipboard_->SequenceNumber(), before + 1);
  EXPECT_TRUE(clipboard_->HasText());
  EXPECT_EQ(clipboard_->GetText(), L"こんにちは world");
  EXPECT_FALSE(clipboard_->IsExcludedFromMonitors());
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].window, kSpeechWindow);
  EXPECT_EQ(received[0].message, platform::kWmDrawClipboard);
}

// With the program's event queue, the counter advances when the change arrives, and the hooked
// window hears of it only when the program dispatches its events, never before.
TEST_F(ClipboardQtTest, APostedNotificationWaitsForTheProgramsDispatch) {
  std::vector<std::function<void()>> queued;
  ClipboardQt posting(
      {}, [&queued](std::function<void()> notify) { queued.push_back(std::move(notify)); });
  constexpr platform::WindowHandle kHooked = 0x5200;
  ASSERT_EQ(posting.SetClipboardViewer(kHooked), 0);
  ASSERT_NE(posting.SetWindowProc(kHooked, &RecordingProc), 0u);
  received.clear();
  queued.clear();
  const std::uint32_t before = posting.SequenceNumber();
  CopyWithXclip("clipboard", "posted");
  ASSERT_TRUE(DispatchUntil([&] { return posting.SequenceNumber() >= before + 1; }));
  ASSERT_EQ(queued.size(), 1u);
  for (const auto& r : received) EXPECT_NE(r.window, kHooked) << "told before the dispatch";
  queued.front()();
  ASSERT_FALSE(received.empty());
  EXPECT_EQ(received.back().window, kHooked);
  EXPECT_EQ(received.back().message, platform::kWmDrawClipboard);
}

TEST_F(ClipboardQtTest, EachCopyAdvancesTheCounterOnce) {
  const std::uint32_t before = clipboard_->SequenceNumber();
  CopyWithXclip("clipboard", "first");
  ASSERT_TRUE(WaitForSequence(before + 1));
  CopyWithXclip("clipboard", "second");
  ASSERT_TRUE(WaitForSequence(before + 2));
  EXPECT_EQ(clipboard_->GetText(), L"second");
  EXPECT_EQ(received.size(), 2u);
}

// The X clipboard empties when the program that copied ends; the Windows clipboard keeps the
// content then. No change is counted for it: the next copy is the next change.
TEST_F(ClipboardQtTest, TheCopyingProgramEndingIsNoChange) {
  const std::uint32_t before = clipboard_->SequenceNumber();
  ChildProcess& copier = CopyWithXclip("clipboard", "copied, then the program ends");
  ASSERT_TRUE(WaitForSequence(before + 1));
  // Qt's own signals tell when the news of the owner's end has come (and been passed over).
  int signals_seen = 0;
  const auto counting = QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged,
                                         [&] { ++signals_seen; });
  copier.Stop();
  ASSERT_TRUE(DispatchUntil([&] { return signals_seen == 1; }));
  QObject::disconnect(counting);
  EXPECT_EQ(clipboard_->SequenceNumber(), before + 1);
  CopyWithXclip("clipboard", "next");
  ASSERT_TRUE(WaitForSequence(before + 2));
  EXPECT_EQ(clipboard_->SequenceNumber(), before + 2);
  EXPECT_EQ(clipboard_->GetText(), L"next");
  EXPECT_EQ(received.size(), 2u);
}

// A selection made with the mouse (PRIMARY) is no copy: only the copy that follows counts.
TEST_F(ClipboardQtTest, ThePrimarySelectionIsNotWatched) {
  const std::uint32_t before = clipboard_->SequenceNumber();
  CopyWithXclip("primary", "selected with the mouse");
  const bool primary_seen = DispatchUntil(
      [&] { return !QGuiApplication::clipboard()->text(QClipboard::Selection).isEmpty(); });
  ASSERT_TRUE(primary_seen);
  CopyWithXclip("clipboard", "copied");
  ASSERT_TRUE(WaitForSequence(before + 1));
  EXPECT_EQ(clipboard_->SequenceNumber(), before + 1);
  EXPECT_EQ(clipboard_->GetText(), L"copied");
  EXPECT_EQ(received.size(), 1u);
}

TEST_F(ClipboardQtTest, APasswordManagersCopyIsExcluded) {
  const std::uint32_t before = clipboard_->SequenceNumber();
  ChildOptions options;
  options.environment = {x_->DisplayVariable(), "QT_QPA_PLATFORM=xcb"};
  options.pipe_stdout = true;
  copiers_.push_back(std::make_unique<ChildProcess>(
      std::vector<std::string>{HARUMADO_SECRET_COPY, "hunter2"}, options));
  ASSERT_EQ(copiers_.back()->ReadLine(milliseconds(15000)), "owner");
  ASSERT_TRUE(WaitForSequence(before + 1));
  EXPECT_TRUE(clipboard_->HasText());
  EXPECT_TRUE(clipboard_->IsExcludedFromMonitors());
  EXPECT_EQ(received.size(), 1u);
}

TEST_F(ClipboardQtTest, AfterTheHookIsRemovedTheWindowHearsNothing) {
  // The unhook's order: the window's own procedure back, then out of the chain.
  clipboard_->RestoreWindowProc(kSpeechWindow, own_procedure_);
  clipboard_->ChangeClipboardChain(kSpeechWindow, 0);
  EXPECT_EQ(clipboard_->head(), 0);
  const std::uint32_t before = clipboard_->SequenceNumber();
  CopyWithXclip("clipboard", "unheard");
  ASSERT_TRUE(WaitForSequence(before + 1));
  EXPECT_TRUE(received.empty());
}

}  // namespace
}  // namespace harumado::qt::testing
