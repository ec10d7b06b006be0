// What the speech service hears of a text, with and without the plain-text flag.
#include "sim/speech_markup.h"

#include <gtest/gtest.h>

namespace harumado {
namespace {

struct MarkupCase {
  const char* name;
  std::wstring text;
  int flags;
  std::wstring heard;
};

class SpokenPartTable : public ::testing::TestWithParam<MarkupCase> {};

TEST_P(SpokenPartTable, Heard) {
  const MarkupCase& c = GetParam();
  EXPECT_EQ(sim::SpokenPart(c.text, c.flags), c.heard);
  EXPECT_EQ(sim::ReadAsMarkup(c.text, c.flags), c.heard != c.text);
}

constexpr int kAsync = platform::kSpeakAsync;
constexpr int kPlain = platform::kSpeakAsync | platform::kSpeakIsNotXml;

INSTANTIATE_TEST_SUITE_P(
    Texts, SpokenPartTable,
    ::testing::Values(
        MarkupCase{"MarkupLosesItsTags", L"<volume level=\"0\"/>静かに", kAsync, L"静かに"},
        MarkupCase{"EveryTagGoes", L"<rate absspeed=\"10\">早く</rate>終わり", kAsync,
                   L"早く終わり"},
        MarkupCase{"AnUnclosedTagRunsToTheEnd", L"<a>前<後ろ", kAsync, L"前"},
        MarkupCase{"OnlyTagsIsHeardAsNothing", L"<silence msec=\"500\"/>", kAsync, L""},
        MarkupCase{"PlainTextKeepsItsTags", L"<volume level=\"0\"/>静かに", kPlain,
                   L"<volume level=\"0\"/>静かに"},
        MarkupCase{"ATextNotBeginningWithATagIsPlain", L" <b>x</b>", kAsync, L" <b>x</b>"},
        MarkupCase{"AnyTextWithThePlainFlag", L"a < b > c", kPlain, L"a < b > c"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace harumado
