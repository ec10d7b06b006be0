#include "calc/format_translation.h"

#include <gtest/gtest.h>

namespace harumado::calc {
namespace {

struct Case {
  const wchar_t* local;
  const wchar_t* calc;
};

class FormatTranslationTest : public testing::TestWithParam<Case> {};

// The program's codes become Calc's and come back unchanged.
TEST_P(FormatTranslationTest, TranslatesBothWays) {
  EXPECT_EQ(CalcCodeOf(GetParam().local), GetParam().calc);
  EXPECT_EQ(LocalCodeOf(GetParam().calc), GetParam().local);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FormatTranslationTest,
    testing::Values(Case{L"###0", L"###0"}, Case{L"###0.###", L"###0.###"},
                    Case{L"#,##0", L"#,##0"}, Case{L"#,##0.###", L"#,##0.###"},
                    // A '\' that opens a section is the yen mark: Calc shows it escaped.
                    Case{L"\\#,##0.###", L"\\\\#,##0.###"}, Case{L"\\###0", L"\\\\###0"},
                    Case{L"\\#,##0;\\-#,##0", L"\\\\#,##0;\\\\-#,##0"},
                    // Elsewhere '\' shows the next character on both sides.
                    Case{L"0\\k", L"0\\k"}, Case{L"\"¥\"#,##0", L"\"¥\"#,##0"},
                    Case{L"0.00E+00", L"0.00E+00"}, Case{L"0%", L"0%"}, Case{L"@", L"@"},
                    Case{L"[赤]#,##0", L"[RED]#,##0"}));

TEST(FormatTranslationTest, GeneralIsCalcsStandardFormat) {
  EXPECT_EQ(CalcCodeOf(L"G/標準"), L"");
  EXPECT_EQ(LocalCodeOf(L"General"), L"G/標準");
  EXPECT_EQ(LocalCodeOf(L"Standard"), L"G/標準");
  EXPECT_EQ(LocalCodeOf(L""), L"G/標準");
  EXPECT_EQ(LocalCodeOf(L"BOOLEAN"), L"G/標準");
}

// Calc writes date and time letters in capitals.
TEST(FormatTranslationTest, DateLettersComeBackSmall) {
  EXPECT_EQ(LocalCodeOf(L"YYYY/M/D"), L"yyyy/m/d");
  EXPECT_EQ(LocalCodeOf(L"H:MM:SS AM/PM"), L"h:mm:ss AM/PM");
  EXPECT_EQ(LocalCodeOf(L"[HH]:MM"), L"[hh]:mm");
  EXPECT_EQ(CalcCodeOf(L"yyyy/m/d"), L"yyyy/m/d");
}

// A Calc code that opens with an escaped character other than '\' keeps showing it, quoted, so
// that the local side does not read a yen mark.
TEST(FormatTranslationTest, LeadingEscapeIsQuotedOnTheLocalSide) {
  EXPECT_EQ(LocalCodeOf(L"\\#0"), L"\"#\"0");
}

}  // namespace
}  // namespace harumado::calc
