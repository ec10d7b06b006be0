// The simulated viewer chain with a viewer that has stopped answering: a send with a time limit
// costs the whole limit and gets no answer, a send without one never returns, and the change
// notifications stop at that viewer.
#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/clipboard.h"
#include "sim/desktop.h"

namespace harumado {
namespace {

// Records the waiting points; ends the wait after a few of them, as the end of a scenario does.
class CountingPoints : public sim::PointHandler {
 public:
  struct Ended {};
  std::vector<sim::Millis> waits;
  void AtDispatchPoint() override {}
  void AtWaitPoint(sim::Millis until) override {
    waits.push_back(until);
    if (waits.size() == 3) throw Ended{};
  }
};

class HungViewer : public ::testing::Test {
 protected:
  void SetUp() override {
    desktop.clipboard.JoinViewer(L"B");
    desktop.clipboard.JoinViewer(L"A");
    a = desktop.clipboard.head();
  }
  sim::Desktop desktop;
  platform::WindowHandle a = 0;
};

TEST_F(HungViewer, AnsweringViewerAnswersAtOnceAndPassesOn) {
  const auto answer =
      desktop.clipboard.SendMessageTimeout(a, platform::kWmDrawClipboard, 0, 0, 1000);
  EXPECT_TRUE(answer.has_value());
  EXPECT_EQ(desktop.world.now(), 0);
  EXPECT_EQ(desktop.clipboard.FindViewer(L"A")->notified, 1);
  EXPECT_EQ(desktop.clipboard.FindViewer(L"B")->notified, 1);
}

TEST_F(HungViewer, SendWithATimeLimitCostsTheLimitAndGetsNoAnswer) {
  ASSERT_TRUE(desktop.clipboard.HangViewer(L"A"));
  EXPECT_FALSE(desktop.clipboard.SendMessageTimeout(a, platform::kWmDrawClipboard, 0, 0, 700));
  EXPECT_EQ(desktop.world.now(), 700);
  EXPECT_FALSE(desktop.clipboard.SendMessageTimeout(a, platform::kWmDrawClipboard, 0, 0, 0));
  EXPECT_EQ(desktop.world.now(), 700);
  EXPECT_EQ(desktop.clipboard.FindViewer(L"A")->notified, 0);
  EXPECT_EQ(desktop.clipboard.FindViewer(L"B")->notified, 0);
  EXPECT_EQ(desktop.clipboard.head(), a);  // still in the chain
}

TEST_F(HungViewer, SendWithoutATimeLimitNeverReturns) {
  desktop.clipboard.HangViewer(L"A");
  CountingPoints points;
  desktop.world.set_handler(&points);
  EXPECT_THROW(desktop.clipboard.SendMessage(a, platform::kWmDrawClipboard, 0, 0),
               CountingPoints::Ended);
  ASSERT_EQ(points.waits.size(), 3u);
  EXPECT_LT(points.waits[0], points.waits[1]);
  EXPECT_LT(points.waits[1], points.waits[2]);
  desktop.world.set_handler(nullptr);
  // Without a scenario to end it, such a wait is an error rather than a program that hangs.
  EXPECT_THROW(desktop.clipboard.SendMessage(a, platform::kWmDrawClipboard, 0, 0),
               std::logic_error);
}

TEST_F(HungViewer, ChangesStopAtTheViewerThatDoesNotAnswer) {
  desktop.clipboard.HangViewer(L"B");
  desktop.clipboard.Set(sim::ClipContent{sim::ClipKind::kText, L"x"});
  EXPECT_EQ(desktop.clipboard.FindViewer(L"A")->notified, 1);
  EXPECT_EQ(desktop.clipboard.FindViewer(L"B")->notified, 0);
  EXPECT_FALSE(desktop.clipboard.HangViewer(L"C"));
}

}  // namespace
}  // namespace harumado
