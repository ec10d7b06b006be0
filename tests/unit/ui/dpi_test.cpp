// The program's placement figures at the display scale of the window they place, and a window
// that comes onto a monitor of another scale on the simulated desktop.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "core/app/form1.h"
#include "core/app/program.h"
#include "core/readaloud/form3.h"
#include "core/ui/form2.h"
#include "core/ui/window_placement.h"
#include "platform/ui/dpi_scale.h"
#include "sim/desktop.h"

namespace harumado {
namespace {

TEST(MulDiv, RoundsHalvesAwayFromZeroAndReportsWhatCannotBeComputed) {
  const struct {
    int value, numerator, denominator, expected;
  } cases[] = {
      {268, 144, 96, 402},    {123, 144, 96, 185}, {123, 120, 96, 154},
      {3945, 144, 1440, 395}, {3, 1, 2, 2},        {-3, 1, 2, -2},
      {3, -1, 2, -2},         {-3, -1, 2, 2},      {5, 1, -2, -3},
      {1, 1, 3, 0},           {2, 1, 3, 1},        {-2, 1, 3, -1},
      {0, 144, 96, 0},        {7, 96, 96, 7},      {1, 1, 0, -1},
      {INT_MAX, 2, 1, -1},    {INT_MIN, 2, 1, -1}, {INT_MAX, 96, 96, INT_MAX},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ui::MulDiv(c.value, c.numerator, c.denominator), c.expected)
        << c.value << " * " << c.numerator << " / " << c.denominator;
  }
}

TEST(Placement, FiguresScaleByTheDpiAndPositionsStayAsTheyAre) {
  using namespace ui::placement;
  const struct {
    int dpi;
    platform::Rect main, usage, speech;
  } cases[] = {
      {96, {-20, 40, 248, 163}, {250, 40, 787, 866}, {-20, 165, 175, 258}},
      {120, {-20, 40, 315, 194}, {318, 40, 989, 1073}, {-20, 196, 224, 312}},
      {144, {-20, 40, 382, 225}, {385, 40, 1191, 1279}, {-20, 228, 273, 368}},
      {192, {-20, 40, 516, 286}, {520, 40, 1594, 1692}, {-20, 290, 370, 476}},
  };
  for (const auto& c : cases) {
    const platform::Rect main = RestoredMain(-20, 40, c.dpi);
    EXPECT_EQ(main, c.main) << c.dpi;
    EXPECT_EQ(BesideMain(main, kUsage, c.dpi), c.usage) << c.dpi;
    EXPECT_EQ(BesideMain(main, kSpeech, c.dpi), c.speech) << c.dpi;
    // Beside the restored main window, neither side window covers it.
    EXPECT_FALSE(main.Intersects(c.usage)) << c.dpi;
    EXPECT_FALSE(main.Intersects(c.speech)) << c.dpi;
  }
}

// At 96 dpi the first position is the main window's Left + Width - 4000 and Top + 1900 twips,
// at 15 twips a pixel, rounded to the nearest pixel.
TEST(Placement, SpeechFirstPositionAt96DpiIsTheTwipsSumRounded) {
  for (int left = -300; left <= 300; left += 7) {
    for (int width : {268, 250, 403}) {
      const platform::Rect main{left, left / 2, left + width, left / 2 + 123};
      const auto first = ui::placement::SpeechFirstPosition(main, 96);
      EXPECT_EQ(first.left, std::lround((left * 15.0 + width * 15.0 - 4000) / 15)) << left;
      EXPECT_EQ(first.top, std::lround((main.top * 15.0 + 1900) / 15)) << left;
    }
  }
  const auto at144 = ui::placement::SpeechFirstPosition({100, 200, 502, 385}, 144);
  EXPECT_EQ(at144.left, 102);  // 4000 twips are 400 pixels at 144 dpi
  EXPECT_EQ(at144.top, 390);
}

// The main window, then each side window, comes onto a monitor at 144 dpi: each gets its
// layout's size there, and the follow timers place the side windows at their own new scale.
class DpiChange : public ::testing::Test, public sim::PointHandler {
 protected:
  void SetUp() override {
    desktop.world.set_handler(this);
    auto& files = desktop.files;
    files.Put(files.SettingsPath(), sim::SimFile{"100,200,1,1,1\r\n", std::nullopt, false});
    program.Start();
    program.form1().Check3().UserClick();     // read-aloud on: the speech window follows
    program.form1().Command10().UserClick();  // the usage window opens and follows
  }
  void TearDown() override { desktop.world.set_handler(nullptr); }
  void AtDispatchPoint() override {
    while (desktop.world.RunOnePending()) {
    }
  }
  void AtWaitPoint(sim::Millis until) override { desktop.world.set_now(until); }

  platform::Rect RectOf(ui::Window& w) { return desktop.windows.GetWindowRect(w.handle()); }
  void Tick() {
    program.form1().Timer1_Timer();
    program.form1().Timer2_Timer();
  }

  sim::Desktop desktop;
  platform::Services services = desktop.services();
  app::Program program{services};
};

TEST_F(DpiChange, SideWindowsFollowAtTheScaleOfTheMonitorTheyComeOnto) {
  ui::Window& main = program.form1().window();
  ui::Window& usage = program.form2().window();
  ui::Window& speech = program.form3().window();
  ASSERT_TRUE(desktop.windows.Find(usage.handle())->visible);
  ASSERT_TRUE(desktop.windows.Find(speech.handle())->visible);
  Tick();
  EXPECT_EQ(RectOf(main), (platform::Rect{100, 200, 368, 323}));
  EXPECT_EQ(RectOf(usage), (platform::Rect{370, 200, 907, 1026}));
  EXPECT_EQ(RectOf(speech), (platform::Rect{100, 325, 295, 418}));

  // The main window alone is at 144 dpi: it has its layout's size there (client 392 x 140,
  // frame 11 x 45); the side windows, still at 96 dpi, keep their 96-dpi figures.
  desktop.windows.ChangeDpi(main.handle(), 144);
  EXPECT_EQ(RectOf(main), (platform::Rect{100, 200, 503, 385}));
  Tick();
  EXPECT_EQ(RectOf(usage), (platform::Rect{370, 200, 907, 1026}));
  EXPECT_EQ(RectOf(speech), (platform::Rect{100, 325, 295, 418}));

  // They follow it there: each gets its layout's size at 144 dpi, and the next tick places it
  // with the figures at 144 dpi instead of shrinking it back.
  desktop.windows.ChangeDpi(usage.handle(), 144);
  desktop.windows.ChangeDpi(speech.handle(), 144);
  EXPECT_EQ(RectOf(usage).width(), 806);
  EXPECT_EQ(RectOf(usage).height(), 1241);
  EXPECT_EQ(RectOf(speech).width(), 293);
  EXPECT_EQ(RectOf(speech).height(), 141);
  for (int i = 0; i < 3; ++i) {
    Tick();
    EXPECT_EQ(RectOf(usage), (platform::Rect{505, 200, 1311, 1439}));
    EXPECT_EQ(RectOf(speech), (platform::Rect{100, 388, 393, 528}));
  }

  // Back at 96 dpi, everything is as before.
  for (ui::Window* w : {&main, &usage, &speech}) desktop.windows.ChangeDpi(w->handle(), 96);
  Tick();
  EXPECT_EQ(RectOf(main), (platform::Rect{100, 200, 368, 323}));
  EXPECT_EQ(RectOf(usage), (platform::Rect{370, 200, 907, 1026}));
  EXPECT_EQ(RectOf(speech), (platform::Rect{100, 325, 295, 418}));
}

}  // namespace
}  // namespace harumado
