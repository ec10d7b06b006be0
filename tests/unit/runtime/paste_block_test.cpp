#include "runtime/paste_block.h"

#include <gtest/gtest.h>

namespace harumado::rt {
namespace {

using Block = std::vector<std::vector<std::wstring>>;

struct Case {
  const wchar_t* text;
  Block block;
};

class PasteBlockTest : public testing::TestWithParam<Case> {};

TEST_P(PasteBlockTest, SplitsAtTabsAndLineEnds) {
  EXPECT_EQ(SplitPasteBlock(GetParam().text), GetParam().block);
}

INSTANTIATE_TEST_SUITE_P(Table, PasteBlockTest,
                         testing::Values(Case{L"abc", {{L"abc"}}}, Case{L"", {{L""}}},
                                         Case{L"a\tb\tc", {{L"a", L"b", L"c"}}},
                                         Case{L"a\r\nb\nc\rd", {{L"a"}, {L"b"}, {L"c"}, {L"d"}}},
                                         // One line end at the end adds no row; a second one does.
                                         Case{L"a\r\n", {{L"a"}}}, Case{L"a\n", {{L"a"}}},
                                         Case{L"a\r", {{L"a"}}},
                                         Case{L"a\r\n\r\n", {{L"a"}, {L""}}},
                                         // Leading separators leave empty fields in front.
                                         Case{L"\t5", {{L"", L"5"}}}, Case{L"\n5", {{L""}, {L"5"}}},
                                         Case{L"1\t2\r\n3", {{L"1", L"2"}, {L"3"}}},
                                         Case{L"x\t\r\n", {{L"x", L""}}}));

}  // namespace
}  // namespace harumado::rt
