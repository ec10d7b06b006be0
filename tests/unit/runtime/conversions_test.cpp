#include "runtime/conversions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "runtime/automation_error.h"
#include "support/error_of.h"

namespace harumado::rt {
namespace {

std::string Narrow(std::wstring_view w) {
  std::string s;
  for (const wchar_t c : w) s += c < 128 ? static_cast<char>(c) : '?';
  return s;
}

using test_support::ErrorOf;

TEST(NumberText, WritesAtMostFifteenSignificantDigitsLikePercentG) {
  struct Case {
    double value;
    const wchar_t* text;
  };
  const Case cases[] = {
      {1e21, L"1E+21"},
      {1e15, L"1E+15"},
      {123456789012345.0, L"123456789012345"},
      {1234567890123456.0, L"1.23456789012346E+15"},
      {1e-5, L"1E-05"},
      {0.0001, L"0.0001"},
      {0.1 + 0.2, L"0.3"},
      {1.0 / 3.0, L"0.333333333333333"},
      {1.2345678901234568e17, L"1.23456789012346E+17"},
      {-0.0, L"0"},
      {0.0, L"0"},
      {-5, L"-5"},
      {123.5, L"123.5"},
      {-1.5e-7, L"-1.5E-07"},
      {1e100, L"1E+100"},
      {100, L"100"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.text));
    EXPECT_EQ(NumberText(c.value), c.text);
  }
}

TEST(TextForm, EachKindOfValue) {
  EXPECT_EQ(TextForm(Value()), L"");
  EXPECT_EQ(TextForm(Value::Number(1e21)), L"1E+21");
  EXPECT_EQ(TextForm(Value::Text(L"Smith, John")), L"Smith, John");
  EXPECT_EQ(TextForm(Value::Logical(true)), L"True");
  EXPECT_EQ(TextForm(Value::Logical(false)), L"False");
}

TEST(TextForm, DateWithAndWithoutTimeOfDay) {
  struct Case {
    double serial;
    const wchar_t* text;
  };
  const Case cases[] = {
      {DateSerial(2026, 12, 10), L"2026/12/10"},
      {DateSerial(2026, 1, 5), L"2026/01/05"},
      {DateSerial(2026, 1, 5) + TimeSerial(9, 5, 7), L"2026/01/05 9:05:07"},
      {DateSerial(2026, 1, 5) + TimeSerial(23, 59, 59), L"2026/01/05 23:59:59"},
      {0, L"1899/12/30"},
      {1, L"1899/12/31"},
      {61, L"1900/03/01"},
      {-1.25, L"1899/12/29 6:00:00"},
      {DateSerial(2000, 2, 29), L"2000/02/29"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.text));
    EXPECT_EQ(TextForm(Value::FromDate(c.serial)), c.text);
  }
}

TEST(TextForm, ErrorValueIsTypeMismatch) {
  EXPECT_EQ(ErrorOf([] { TextForm(Value::Error(2007)); }), err::kTypeMismatch);
}

TEST(DateSerial, KnownSerialsAndCarries) {
  EXPECT_EQ(DateSerial(1899, 12, 30), 0);
  EXPECT_EQ(DateSerial(1900, 1, 1), 2);
  EXPECT_EQ(DateSerial(2026, 9, 26), 46291);
  EXPECT_EQ(DateSerial(2026, 13, 1), DateSerial(2027, 1, 1));
  EXPECT_EQ(DateSerial(2026, 3, 0), DateSerial(2026, 2, 28));
  EXPECT_EQ(DateSerial(2026, 0, 1), DateSerial(2025, 12, 1));
  EXPECT_DOUBLE_EQ(TimeSerial(12, 30, 0), 0.5 + 30.0 / 1440.0);
}

TEST(ReadNumber, JapaneseLocaleGrammar) {
  struct Case {
    const wchar_t* text;
    std::optional<double> value;
  };
  const Case cases[] = {
      {L"123", 123},
      {L" 123 ", 123},
      {L"\t123\r\n", 123},
      {L"-5", -5},
      {L"+5", 5},
      {L"5-", -5},
      {L"5+", 5},
      {L"(123)", -123},
      {L"( 123 )", -123},
      {L"(123", std::nullopt},
      {L"123)", std::nullopt},
      {L"-(123)", std::nullopt},
      {L"123.", 123},
      {L".5", 0.5},
      {L"123.5", 123.5},
      {L"1,234", 1234},
      {L"1,2,3", 123},
      {L"1,234.5", 1234.5},
      {L",123", std::nullopt},
      {L"1,,000", 1000},
      {L"\\1,000", 1000},
      {L"\\1000", 1000},
      {L"1000\\", 1000},
      {L"\u00A51,000", 1000},
      {L"-\\1,000", -1000},
      {L"\\-1,000", -1000},
      {L"\\1,000.5", 1000.5},
      {L"\\\\1", std::nullopt},
      {L"\\1\\", std::nullopt},
      {L"\uFFE51,000", std::nullopt},
      {L"\uFF11\uFF12\uFF13", std::nullopt},
      {L"1E3", 1000},
      {L"1.5e3", 1500},
      {L"3E-011", 3e-11},
      {L"1e+2", 100},
      {L"1e", std::nullopt},
      {L"1d3", std::nullopt},
      {L"&H10", 16},
      {L"&hff", 255},
      {L"&O17", 15},
      {L"&O8", std::nullopt},
      {L"&H", std::nullopt},
      {L"\\&H10", std::nullopt},
      {L"", std::nullopt},
      {L" ", std::nullopt},
      {L".", std::nullopt},
      {L"-", std::nullopt},
      {L"\\", std::nullopt},
      {L"123-4", std::nullopt},
      {L"1 000", std::nullopt},
      {L"Smith, John", std::nullopt},
      {L"=1+2", std::nullopt},
      {L"1.2.3", std::nullopt},
      {L"--5", std::nullopt},
      {L"0003", 3},
      {L"1e400", std::nullopt},
      {L"1e-400", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.text));
    const auto got = ReadNumber(c.text);
    ASSERT_EQ(got.has_value(), c.value.has_value());
    if (got) {
      EXPECT_DOUBLE_EQ(*got, *c.value);
    }
    EXPECT_EQ(ReadsAsNumber(c.text), c.value.has_value());
  }
}

TEST(IsNumericValue, KindsAndTexts) {
  EXPECT_TRUE(IsNumericValue(Value()));
  EXPECT_TRUE(IsNumericValue(Value::Number(-3.5)));
  EXPECT_TRUE(IsNumericValue(Value::Logical(false)));
  EXPECT_TRUE(IsNumericValue(Value::Text(L"\\1,000")));
  EXPECT_FALSE(IsNumericValue(Value::Text(L"")));
  EXPECT_FALSE(IsNumericValue(Value::Text(L"\uFFE51,000")));
  EXPECT_FALSE(IsNumericValue(Value::FromDate(46291)));
  EXPECT_FALSE(IsNumericValue(Value::Error(2042)));
}

TEST(LeadingNumber, ValReadsTheLeadingDecimalNumber) {
  struct Case {
    const wchar_t* text;
    double value;
  };
  const Case cases[] = {
      {L"1615 198th Street N.E.", 1615198},
      {L" 2 45 7", 2457},
      {L"24 and 57", 24},
      {L"123.5", 123.5},
      {L"1,234", 1},
      {L"\\1,000", 0},
      {L"$5", 0},
      {L"", 0},
      {L"abc", 0},
      {L"-12.5x", -12.5},
      {L"+7", 7},
      {L".5", 0.5},
      {L"1.2.3", 1.2},
      {L"1e3", 1000},
      {L"1.5E-2", 0.015},
      {L"1e", 1},
      {L"1e+", 1},
      {L"&HFFFF", -1},
      {L"&H10", 16},
      {L"&H10000", 65536},
      {L"&HFFFFFFFF", -1},
      {L"&O777", 511},
      {L"&H", 0},
      {L"\t\n12", 12},
      {L"\uFF11", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.text));
    EXPECT_DOUBLE_EQ(LeadingNumber(c.text), c.value);
  }
}

TEST(LeadingNumber, BeyondDoubleRangeOverflows) {
  EXPECT_EQ(ErrorOf([] { LeadingNumber(L"1e999"); }), err::kOverflow);
}

TEST(ToInt32, RoundsHalfToEvenAndChecksRange) {
  struct Case {
    const wchar_t* text;
    std::int32_t value;  // when error is 0
    std::int32_t error;
  };
  const Case cases[] = {
      {L"0.5", 0, 0},
      {L"1.5", 2, 0},
      {L"2.5", 2, 0},
      {L"3.5", 4, 0},
      {L"-2.5", -2, 0},
      {L"-3.5", -4, 0},
      {L"2.4999", 2, 0},
      {L"2.5001", 3, 0},
      {L" 9 ", 9, 0},
      {L"1,000", 1000, 0},
      {L"(3)", -3, 0},
      {L"2147483647", 2147483647, 0},
      {L"-2147483648", -2147483647 - 1, 0},
      {L"2147483647.4", 2147483647, 0},
      {L"2147483647.5", 0, err::kOverflow},
      {L"2147483648", 0, err::kOverflow},
      {L"-2147483649", 0, err::kOverflow},
      {L"1e400", 0, err::kOverflow},
      {L"abc", 0, err::kTypeMismatch},
      {L"", 0, err::kTypeMismatch},
      {L"\uFF13", 0, err::kTypeMismatch},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.text));
    if (c.error == 0) {
      EXPECT_EQ(ToInt32(c.text), c.value);
    } else {
      EXPECT_EQ(ErrorOf([&] { ToInt32(c.text); }), c.error);
    }
  }
}

TEST(ToInt32, FromDouble) {
  EXPECT_EQ(ToInt32(2.5), 2);
  EXPECT_EQ(ToInt32(-0.5), 0);
  EXPECT_EQ(ToInt32(7.9), 8);
  EXPECT_EQ(ErrorOf([] { ToInt32(3e9); }), err::kOverflow);
  EXPECT_EQ(ErrorOf([] { ToInt32(std::numeric_limits<double>::quiet_NaN()); }), err::kOverflow);
}

TEST(HasNonNumericChar, PatternOfDigitsCommaPointBackslash) {
  struct Case {
    const wchar_t* text;
    bool non_numeric;
  };
  const Case cases[] = {
      {L"", false},      {L"12,345", false},  {L"\\1,000.5", false}, {L"...", false},
      {L"-5", true},     {L"2026/1/5", true}, {L"1 2", true},        {L"abc", true},
      {L"\uFF11", true}, {L"\u00A51", true},  {L"\uFFE51", true},    {L"1E3", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.text));
    EXPECT_EQ(HasNonNumericChar(c.text), c.non_numeric);
  }
}

TEST(ErrorNumberText, SignedDecimal) {
  EXPECT_EQ(ErrorNumberText(13), L"13");
  EXPECT_EQ(ErrorNumberText(err::kCallRejected), L"-2147418111");
  EXPECT_EQ(ErrorNumberText(err::kServerExecFailed), L"-2146959355");
  EXPECT_EQ(ErrorNumberText(err::kServerUnavailable), L"-2147023174");
  const AutomationError e(err::kApplicationDefined, L"説明");
  EXPECT_EQ(e.number(), 1004);
  EXPECT_EQ(e.description(), L"説明");
}

}  // namespace
}  // namespace harumado::rt
