#include "core/columns/numeric_text.h"

#include <gtest/gtest.h>

#include "core/columns/saved_content.h"

namespace harumado::columns {
namespace {

TEST(IsNumericText, AllowsOnlyDigitsCommaPeriodAndBackslash) {
  struct Case {
    const wchar_t* text;
    bool numeric;
  } cases[] = {
      {L"", true},
      {L"12345", true},
      {L"12,345", true},
      {L"1.5", true},
      {L"\\1,000", true},
      {L"1.2.3", true},
      {L"-5", false},
      {L"2026/01/01", false},
      {L"1 2", false},
      {L"1E+21", false},
      {L"True", false},
      {L"abcdefghij", false},
      {L"\uFF11\uFF12", false} /* full-width digits */,
      {L"\u00A51000", false},
      {L"#DIV/0!", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsNumericText(c.text), c.numeric) << c.text;
  }
}

TEST(FormattedLength, FormatsNumbersAndNumericTextsWithTheCellsCode) {
  struct Case {
    rt::Value value;
    const wchar_t* text;
    const wchar_t* format;
    std::size_t length;
  } cases[] = {
      {rt::Value::Number(12345), L"12345", L"#,##0", 6},       // 12,345
      {rt::Value::Number(1234.5), L"1234.5", L"#,##0.00", 8},  // 1,234.50
      {rt::Value::Number(0.5), L"0.5", L"0%", 3},              // 50%
      {rt::Value::Number(12345), L"12345", L"G/標準", 5},      // General: the text form
      {rt::Value::Text(L"1,234"), L"1,234", L"0.00", 7},       // a numeric text: 1234.00
      {rt::Value::Text(L"1.2.3"), L"1.2.3", L"#,##0", 5},      // no number: its own length
      {rt::Value::Text(L""), L"", L"#,##0", 0},                // the empty text
      {rt::Value::Number(7), L"7", L"[Red", 1},                // unusable code: text form
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormattedLength(c.value, c.text, c.format), c.length) << c.text << " " << c.format;
  }
}

TEST(SaveContent, TellsTextsFormulasAndOtherConstantsApart) {
  using Kind = SavedContent::Kind;
  const rt::Value general = rt::Value::Text(L"G/標準");
  struct Case {
    rt::Value value;
    const wchar_t* formula;
    Kind kind;
  } cases[] = {
      {rt::Value::Text(L"001"), L"001", Kind::kText},
      {rt::Value::Text(L"TRUE"), L"TRUE", Kind::kText},
      {rt::Value::Text(L"=abc"), L"=abc", Kind::kText},  // a text that looks like a formula
      {rt::Value::Text(L"abcdefghij"), L"=\"abcde\"&\"fghij\"", Kind::kFormula},
      {rt::Value::Number(-5), L"-5", Kind::kConstant},
      {rt::Value::Number(-5), L"=0-5", Kind::kFormula},
      {rt::Value::Logical(true), L"TRUE", Kind::kConstant},
      {rt::Value::Error(2007), L"=1/0", Kind::kFormula},
  };
  for (const auto& c : cases) {
    const SavedContent saved = SaveContent(c.value, rt::Value::Text(c.formula), general);
    EXPECT_EQ(saved.kind, c.kind) << c.formula;
    EXPECT_EQ(saved.format, L"G/標準");
    if (c.kind == Kind::kFormula) {
      EXPECT_EQ(saved.formula, c.formula);
    } else {
      EXPECT_EQ(saved.value, c.value);
    }
  }
}

}  // namespace
}  // namespace harumado::columns
