#include "platform/ui/control.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/ui/window.h"

namespace harumado::ui {
namespace {

struct ControlFixture : ::testing::Test {
  Window window{WindowSpec{}};
  Control& Make(ControlKind kind, std::wstring text = L"", int value = 0) {
    ControlSpec s;
    s.name = L"C" + std::to_wstring(window.controls().size());
    s.kind = kind;
    s.text = std::move(text);
    s.value = value;
    return window.Add(s);
  }
};

// The native views create the controls in this order, which the Tab key then follows: by tab
// index, controls of the same index in the order they were added.
TEST_F(ControlFixture, TabOrderFollowsTheTabIndexesAndKeepsTheOrderOfEqualOnes) {
  for (int tab : {3, 1, 0, 1}) {
    ControlSpec s;
    s.name = L"T" + std::to_wstring(window.controls().size());
    s.tab_index = tab;
    window.Add(s);
  }
  EXPECT_EQ(window.TabOrder(), (std::vector<std::size_t>{2, 1, 3, 0}));
}

TEST_F(ControlFixture, CheckBoxValueSetByProgramRaisesClickOnlyWhenItChanges) {
  Control& box = Make(ControlKind::kCheckBox, L"", 1);
  int clicks = 0;
  box.on_click = [&] { ++clicks; };
  box.SetValue(1);
  EXPECT_EQ(clicks, 0);
  box.SetValue(0);
  EXPECT_EQ(clicks, 1);
  box.UserClick();  // the user's click toggles first
  EXPECT_EQ(box.value(), 1);
  EXPECT_EQ(clicks, 2);
}

TEST_F(ControlFixture, NestedValueChangeInsideClickRaisesOneMoreClick) {
  Control& box = Make(ControlKind::kCheckBox, L"", 1);
  std::vector<int> seen;
  box.on_click = [&] {
    seen.push_back(box.value());
    if (box.value() == 0) box.SetValue(1);
  };
  box.UserClick();
  EXPECT_EQ(seen, (std::vector<int>{0, 1}));
  EXPECT_EQ(box.value(), 1);
}

TEST_F(ControlFixture, TextChangeRaisedForFieldsOnlyAndNotForUnchangedText) {
  Control& field = Make(ControlKind::kTextField, L"a");
  Control& button = Make(ControlKind::kButton, L"b");
  int field_changes = 0, button_changes = 0;
  field.on_change = [&] { ++field_changes; };
  button.on_change = [&] { ++button_changes; };
  field.SetText(L"a");
  field.SetText(L"x");
  button.SetText(L"y");
  EXPECT_EQ(field_changes, 1);
  EXPECT_EQ(button_changes, 0);
}

TEST_F(ControlFixture, TypingReplacesSelectionAndKeyPressMayDiscard) {
  Control& field = Make(ControlKind::kTextField, L"123");
  field.on_key_press = [](wchar_t& k) {
    if (k == L'x') k = 0;
  };
  field.SetSelection(1, 1);
  field.UserType(L'9');
  EXPECT_EQ(field.text(), L"193");
  EXPECT_EQ(field.sel_start(), 2);
  field.UserType(L'x');
  EXPECT_EQ(field.text(), L"193");
  field.UserType(L'\b');
  EXPECT_EQ(field.text(), L"13");
  field.UserKeyDelete();
  EXPECT_EQ(field.text(), L"1");
}

TEST_F(ControlFixture, LockedFieldIgnoresEditing) {
  Control& field = Make(ControlKind::kTextField, L"msg");
  field.SetLocked(true);
  field.UserType(L'a');
  field.UserKeyDelete();
  field.UserInsert(L"zz");
  EXPECT_EQ(field.text(), L"msg");
}

TEST_F(ControlFixture, SliderRaisesChangeWhenValueChanges) {
  Control& slider = Make(ControlKind::kSlider);
  int changes = 0, scrolls = 0;
  slider.on_change = [&] { ++changes; };
  slider.on_scroll = [&] { ++scrolls; };
  slider.SetMin(-10);
  slider.SetMax(10);
  slider.SetValue(0);
  EXPECT_EQ(changes, 0);
  slider.UserSlide(25);  // clamped to the range
  EXPECT_EQ(slider.value(), 10);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(scrolls, 1);
}

TEST_F(ControlFixture, TimerTicksOnlyWhileEnabledWithInterval) {
  Control& timer = Make(ControlKind::kTimer);
  int ticks = 0;
  timer.on_timer = [&] { ++ticks; };
  timer.UserTick();
  timer.SetInterval(10);
  timer.SetEnabled(false);
  timer.UserTick();
  timer.SetEnabled(true);
  timer.UserTick();
  EXPECT_EQ(ticks, 1);
}

}  // namespace
}  // namespace harumado::ui
