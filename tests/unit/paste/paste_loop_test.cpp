// What the paste loop does to Excel's window for a change. Scenarios cannot see the foreground
// window or the messages posted to Excel, so the loop runs here on the simulated desktop, with
// a driver that copies during the loop's first sleep and stops pasting after a second.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/app/form1.h"
#include "core/app/program.h"
#include "core/paste/module1.h"
#include "runtime/automation_error.h"
#include "sim/desktop.h"

namespace harumado {
namespace {

class PasteLoopWindow : public ::testing::Test, public sim::PointHandler {
 protected:
  void SetUp() override {
    desktop.world.set_handler(this);
    program.Start();
    auto excel = desktop.excel.StartInstance(true);
    excel->Add();
    excel_window = excel->window();
    program.form1().state.ExcelHwnd = excel_window;
    desktop.world.foreground = kOtherProgram;
  }
  void TearDown() override { desktop.world.set_handler(nullptr); }

  void AtDispatchPoint() override {
    while (desktop.world.RunOnePending()) {
    }
  }
  void AtWaitPoint(sim::Millis until) override {
    if (quit_excel_at_first_sleep) {
      desktop.excel.QuitAll();
      quit_excel_at_first_sleep = false;
    }
    if (copy) {
      desktop.clipboard.Set(*copy);
      copy.reset();
    }
    desktop.world.set_now(until);
    if (until >= 1000) program.form1().state.PasteActive = 0;
  }

  // One run of the loop in which another program copies once.
  void RunWithCopy(sim::ClipContent content) {
    copy = std::move(content);
    program.form1().state.PasteActive = 1;
    paste::PasteLoop(program);
  }

  static sim::ClipContent Text(const std::wstring& text, bool secret) {
    sim::ClipContent c;
    c.kind = sim::ClipKind::kText;
    c.text = text;
    c.secret = secret;
    return c;
  }

  static constexpr platform::WindowHandle kOtherProgram = 0x7700;
  sim::Desktop desktop;
  platform::Services services = desktop.services();
  app::Program program{services};
  platform::WindowHandle excel_window = 0;
  std::optional<sim::ClipContent> copy;
  bool quit_excel_at_first_sleep = false;
};

TEST_F(PasteLoopWindow, Copy_BringsExcelForwardAndPostsEscapeDownThenUp) {
  RunWithCopy(Text(L"x", false));
  EXPECT_EQ(desktop.world.foreground, excel_window);
  ASSERT_EQ(desktop.world.posted.size(), 2u);
  EXPECT_NE(desktop.world.posted[0].find(L"msg 0x100 0x1B"), std::wstring::npos);
  EXPECT_NE(desktop.world.posted[1].find(L"msg 0x101 0x1B"), std::wstring::npos);
  EXPECT_EQ(desktop.excel.ActiveSheet()->Text({1, 1}), L"x");
}

TEST_F(PasteLoopWindow, SecretCopy_LeavesTheForegroundAndPostsNothing) {
  RunWithCopy(Text(L"hunter2", true));
  EXPECT_EQ(desktop.world.foreground, kOtherProgram);
  EXPECT_TRUE(desktop.world.posted.empty());
  EXPECT_TRUE(desktop.excel.ActiveSheet()->IsBlank({1, 1}));
  // The cycle that passed the secret over is done, but pasted nothing.
  EXPECT_EQ(program.paste.activity.cycles_done, 2);
  EXPECT_EQ(program.paste.activity.changes_pasted, 0);
}

// The loop's activity as a watcher sees it, told at each change: the loop runs from its start,
// each cycle is done once its look at the clipboard has been pasted (and counts as a paste when
// it pasted a change), and the loop stops running when it returns.
struct Seen {
  std::int32_t loops_running;
  std::int64_t cycles_done;
  std::int64_t changes_pasted;
  std::wstring a1;
  bool operator==(const Seen&) const = default;
};

TEST_F(PasteLoopWindow, Activity_CountsTheRunningLoopAndItsCyclesEachAfterItsPaste) {
  std::vector<Seen> seen;
  auto& activity = program.paste.activity;
  activity.changed = [&] {
    seen.push_back({activity.loops_running, activity.cycles_done, activity.changes_pasted,
                    desktop.excel.ActiveSheet()->Text({1, 1})});
  };
  RunWithCopy(Text(L"x", false));
  // The first cycle finds nothing; the copy made in its sleep is pasted by the second, which
  // ends the loop (pasting was stopped during its sleep).
  const std::vector<Seen> expected = {
      {1, 0, 0, L""}, {1, 1, 0, L""}, {1, 2, 1, L"x"}, {0, 2, 1, L"x"}};
  EXPECT_EQ(seen, expected);
}

TEST_F(PasteLoopWindow, Activity_ALoopEndedByAnErrorIsNoLongerRunning) {
  quit_excel_at_first_sleep = true;
  // Excel gone, the cursor step after the paste fails and the error ends the loop.
  EXPECT_THROW(RunWithCopy(Text(L"x", false)), rt::AutomationError);
  EXPECT_EQ(program.paste.activity.loops_running, 0);
  EXPECT_EQ(program.paste.activity.cycles_done, 1);
}

}  // namespace
}  // namespace harumado
