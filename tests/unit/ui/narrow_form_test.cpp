#include "runtime/narrow_form.h"

#include <gtest/gtest.h>

namespace harumado::rt {
namespace {

TEST(NarrowForm, MapsFullWidthFormsAndKeepsTheRest) {
  struct Case {
    std::wstring in, out;
  } cases[] = {
      {L"１２", L"12"},
      {L"ＡＢｃ", L"ABc"},
      {L"\u3000", L" "},
      {L"カタカナ", L"ｶﾀｶﾅ"},
      {L"ガパヴ", L"ｶﾞﾊﾟｳﾞ"},
      {L"ァヶ", L"ｧｹ"},
      {L"ひらがな漢字", L"ひらがな漢字"},
      {L"12ab", L"12ab"},
      {L"ー。", L"ｰ｡"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.out.size());
    EXPECT_EQ(ToNarrow(c.in), c.out);
  }
}

}  // namespace
}  // namespace harumado::rt
