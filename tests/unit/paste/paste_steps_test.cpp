// The paste steps read ModeFlag afresh after their dispatch of pending events: a click on Check2
// that runs there changes the treatment of the paste under way. A scenario cannot place a click
// between Excel's paste and that dispatch, so the steps are called here directly, on the
// simulated desktop with a visible Excel and a new workbook.
#include <gtest/gtest.h>

#include "core/app/form1.h"
#include "core/app/program.h"
#include "core/paste/module1.h"
#include "runtime/skip_mode.h"
#include "sim/desktop.h"

namespace harumado {
namespace {

class PasteSteps : public ::testing::Test {
 protected:
  void SetUp() override {
    program.Start();
    desktop.excel.StartInstance(true)->Add();
    ASSERT_EQ(form().state.ModeFlag, 1);
  }

  // Another program copies; a click on Check2 waits to be dispatched.
  void CopyThenClickCheck2(sim::ClipContent content) {
    desktop.clipboard.Set(std::move(content));
    desktop.world.Post(L"click Check2", [this] { form().Check2().UserClick(); });
  }

  app::Form1& form() { return program.form1(); }
  sim::SimSheet& sheet() { return *desktop.excel.ActiveSheet(); }

  sim::Desktop desktop;
  platform::Services services = desktop.services();
  app::Program program{services};
};

TEST_F(PasteSteps, PasteText_ClickDuringItsDispatch_FormatsInTheNewMode) {
  sim::ClipContent text;
  text.kind = sim::ClipKind::kText;
  text.text = L"123.5";
  CopyThenClickCheck2(text);
  rt::SkipMode skip;
  paste::PasteText(program, skip);

  EXPECT_EQ(form().state.ModeFlag, 0);
  EXPECT_EQ(form().Check2().text(), L"数値");
  EXPECT_EQ(form().Text2().text(), L"データを[数値データ]として貼り付けます。");
  EXPECT_EQ(sheet().Format({1, 1}), L"###0.###");
  EXPECT_EQ(sheet().Text({1, 1}), L"123.5");
  EXPECT_EQ(skip.error(), 0);
}

TEST_F(PasteSteps, PastePicture_ClickDuringItsDispatch_FitsThePictureToTheCell) {
  sim::ClipContent picture;
  picture.kind = sim::ClipKind::kPicture;
  picture.picture_width = 400;
  picture.picture_height = 300;
  CopyThenClickCheck2(picture);
  rt::SkipMode skip;
  paste::PastePicture(program, skip);

  EXPECT_EQ(form().state.ModeFlag, 0);
  EXPECT_EQ(form().Check2().text(), L"画像\u25A1");
  ASSERT_EQ(sheet().shapes().size(), 1u);
  const sim::SimShape& shape = sheet().shapes()[0];
  EXPECT_EQ(shape.width, 54);
  EXPECT_EQ(shape.height, 18.75);
  EXPECT_EQ(shape.placement, platform::placement::kMoveAndSize);
  EXPECT_EQ(shape.lock_aspect_ratio, platform::mso::kFalse);
  EXPECT_EQ(program.paste.PictureFailed, 0);
}

}  // namespace
}  // namespace harumado
