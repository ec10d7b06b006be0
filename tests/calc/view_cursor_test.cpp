#include "calc/view_cursor.h"

#include <gtest/gtest.h>

namespace harumado::calc {
namespace {

TEST(ViewCursorTest, ReadsTheCursorOfTheActiveSheet) {
  EXPECT_EQ(CursorOfViewData(L"100/60/0;0;tw:270;2/4/0/0/0/0/2/0/0/0/0"), (CellPosition{2, 4}));
  EXPECT_EQ(CursorOfViewData(L"100/60/0;1;tw:270;0/0/0/0/0/0/2/0/0/0/0;5/9/0/0/0/0/2/0/0/0/0"),
            (CellPosition{5, 9}));
}

// Rows past the old limit are written with '+' between the numbers.
TEST(ViewCursorTest, ReadsLargeRows) {
  EXPECT_EQ(CursorOfViewData(L"100/60/0;0;tw:270;3+1048575+0+0+0+0+2+0+0+0+0"),
            (CellPosition{3, 1048575}));
}

TEST(ViewCursorTest, NothingWithoutACursor) {
  EXPECT_EQ(CursorOfViewData(L""), std::nullopt);
  EXPECT_EQ(CursorOfViewData(L"100/60/0;3;tw:270;0/0/0"), std::nullopt);
  EXPECT_EQ(CursorOfViewData(L"100/60/0;x;tw:270;0/0/0"), std::nullopt);
}

}  // namespace
}  // namespace harumado::calc
