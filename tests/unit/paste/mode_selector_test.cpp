// The mode selector with a caption that no mode has: no scenario can give Check2 such a
// caption, so the program is driven here on the simulated desktop directly.
#include <gtest/gtest.h>

#include "core/app/form1.h"
#include "core/app/program.h"
#include "sim/desktop.h"

namespace harumado {
namespace {

class ModeSelector : public ::testing::Test {
 protected:
  void SetUp() override { program.Start(); }

  sim::Desktop desktop;
  platform::Services services = desktop.services();
  app::Program program{services};
  app::Form1& form() { return program.form1(); }
};

TEST_F(ModeSelector, CaptionOutsideTheTable_ClickOnlyUnticksAndNextClickTicksAgain) {
  form().Check2().SetText(L"整数 ");  // a trailing blank: captions compare as exact texts
  form().Text2().SetText(L"before");
  const auto mode_flag = form().state.ModeFlag;

  form().Check2().UserClick();
  EXPECT_EQ(form().Check2().value(), 0);
  EXPECT_EQ(form().Check2().text(), L"整数 ");
  EXPECT_EQ(form().Text2().text(), L"before");
  EXPECT_EQ(form().state.ModeFlag, mode_flag);

  form().Check2().UserClick();
  EXPECT_EQ(form().Check2().value(), 1);
  EXPECT_EQ(form().Check2().text(), L"整数 ");
  EXPECT_EQ(form().Text2().text(), L"before");
  EXPECT_EQ(form().state.ModeFlag, mode_flag);
}

TEST_F(ModeSelector, ProgramSettingTheValueToZero_AdvancesLikeAClick) {
  form().Check2().SetValue(0);
  EXPECT_EQ(form().Check2().text(), L"数値");
  EXPECT_EQ(form().Check2().value(), 1);
  EXPECT_EQ(form().state.ModeFlag, 0);
}

}  // namespace
}  // namespace harumado
