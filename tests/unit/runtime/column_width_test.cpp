#include "runtime/column_width.h"

#include <gtest/gtest.h>

#include "runtime/automation_error.h"
#include "runtime/offset_argument.h"
#include "support/error_of.h"

namespace harumado::rt {
namespace {

struct WidthCase {
  double characters;
  double points;
};

class ColumnWidthTest : public testing::TestWithParam<WidthCase> {};

// round(8w + 5) px at 0.75 pt, and back to the characters Excel reports.
TEST_P(ColumnWidthTest, CharactersAndPointsAgree) {
  EXPECT_DOUBLE_EQ(ColumnPoints(GetParam().characters), GetParam().points);
  if (GetParam().points > 0) {
    EXPECT_NEAR(ColumnCharacters(GetParam().points), GetParam().characters, 0.005);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, ColumnWidthTest,
                         testing::Values(WidthCase{8.38, 54}, WidthCase{12, 75.75},
                                         WidthCase{255, 1533.75}, WidthCase{0, 0}));

TEST(ColumnWidthTest, NarrowerThanThePaddingHoldsNoCharacter) {
  EXPECT_EQ(ColumnCharacters(3), 0);
  EXPECT_EQ(ColumnPoints(-1), 0);
}

TEST(OffsetArgumentTest, NumbersAndTextsThatReadAsNumbers) {
  EXPECT_EQ(OffsetArgument(Value::Number(3)), 3);
  EXPECT_EQ(OffsetArgument(Value::Text(L"-3")), -3);
  EXPECT_EQ(OffsetArgument(Value::Number(2.5)), 2);
  EXPECT_EQ(OffsetArgument(Value()), 0);
  EXPECT_EQ(OffsetArgument(Value::Logical(true)), -1);
  EXPECT_EQ(test_support::ErrorOf([] { OffsetArgument(Value::Text(L"x")); }), err::kTypeMismatch);
  EXPECT_EQ(test_support::ErrorOf([] { OffsetArgument(Value::FromDate(1)); }), err::kTypeMismatch);
}

}  // namespace
}  // namespace harumado::rt
