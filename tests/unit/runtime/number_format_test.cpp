#include "runtime/number_format.h"

#include <gtest/gtest.h>

#include <string>

#include "runtime/automation_error.h"
#include "runtime/conversions.h"
#include "support/error_of.h"

namespace harumado::rt {
namespace {

std::string Narrow(std::wstring_view w) {
  std::string s;
  for (const wchar_t c : w) s += c < 128 ? static_cast<char>(c) : '?';
  return s;
}

struct FormatCase {
  double value;
  const wchar_t* code;
  const wchar_t* shown;
};

void ExpectFormats(const FormatCase* begin, const FormatCase* end) {
  for (const FormatCase* c = begin; c != end; ++c) {
    SCOPED_TRACE(Narrow(c->code) + " <- " + std::to_string(c->value));
    EXPECT_EQ(FormatNumber(c->value, c->code), c->shown);
  }
}

using test_support::ErrorOf;

// The eight codes the paste step writes, on the values of the reference display table; the
// local yen mark shows as '\' and a single section puts the minus before it.
TEST(FormatNumber, ReferenceDisplayTable) {
  const FormatCase cases[] = {
      {123, L"###0", L"123"},
      {123, L"#,##0", L"123"},
      {123, L"###0.###", L"123."},
      {123, L"#,##0.###", L"123."},
      {123, L"\\#,##0.###", L"\\123."},
      {0, L"###0", L"0"},
      {0, L"#,##0", L"0"},
      {0, L"###0.###", L"0."},
      {0, L"#,##0.###", L"0."},
      {0, L"\\#,##0.###", L"\\0."},
      {1234.5678, L"###0", L"1235"},
      {1234.5678, L"#,##0", L"1,235"},
      {1234.5678, L"###0.###", L"1234.568"},
      {1234.5678, L"#,##0.###", L"1,234.568"},
      {1234.5678, L"\\#,##0.###", L"\\1,234.568"},
      {-1234.5678, L"###0", L"-1235"},
      {-1234.5678, L"#,##0", L"-1,235"},
      {-1234.5678, L"###0.###", L"-1234.568"},
      {-1234.5678, L"#,##0.###", L"-1,234.568"},
      {-1234.5678, L"\\#,##0.###", L"-\\1,234.568"},
      {0.5, L"###0", L"1"},
      {0.5, L"#,##0", L"1"},
      {0.5, L"###0.###", L"0.5"},
      {0.5, L"#,##0.###", L"0.5"},
      {0.5, L"\\#,##0.###", L"\\0.5"},
      {1234.5, L"###0", L"1235"},
      {1234.5, L"#,##0", L"1,235"},
      {1234.5, L"###0.###", L"1234.5"},
      {1234.5, L"#,##0.###", L"1,234.5"},
      {1234.5, L"\\#,##0.###", L"\\1,234.5"},
      {1234.5, L"\\###0", L"\\1235"},
      {1234.5, L"\\#,##0", L"\\1,235"},
      {1234.5, L"\\###0.###", L"\\1234.5"},
      {-5, L"\\###0", L"-\\5"},
      {1234567.891, L"#,##0.###", L"1,234,567.891"},
  };
  ExpectFormats(std::begin(cases), std::end(cases));
}

TEST(FormatNumber, PlaceholderRules) {
  const FormatCase cases[] = {
      {0.5, L"#.##", L".5"},
      {0, L"####", L""},
      {0, L"###0", L"0"},
      {5, L"000", L"005"},
      {5, L"0#", L"05"},
      {123456789, L"#,####", L"123,456,789"},
      {1, L"#.#", L"1."},
      {0, L"#.#", L"."},
      {123456789, L"#,#.#", L"123,456,789."},
      {0.0049, L"#.##", L"."},
      {8.0995, L"#.##", L"8.1"},
      {1, L"#,##0.00", L"1.00"},
      {15, L"0.##", L"15."},
      {0, L"0.####", L"0."},
      {12.5, L".00", L"12.50"},
      {5, L"0,000", L"0,005"},
      {12345678, L"#,##0,", L"12,346"},
      {12345678, L"0.0,,", L"12.3"},
      {1234567, L"000-0000", L"123-4567"},
      {5, L"??0", L"  5"},
      {1.5, L"0.0?", L"1.5 "},
      {1234567890123456789.0, L"0", L"1234567890123460000"},
      {1e20, L"#,##0", L"100,000,000,000,000,000,000"},
  };
  ExpectFormats(std::begin(cases), std::end(cases));
}

// Rounding works on the decimal digits at 15 significant digits, half away from zero, so
// doubles just below a half still round up.
TEST(FormatNumber, RoundsHalfAwayFromZeroAtFifteenDigits) {
  const FormatCase cases[] = {
      {1.225, L"0.00", L"1.23"},
      {100.665, L"0.00", L"100.67"},
      {656.685, L"0.00", L"656.69"},
      {2.675, L"0.00", L"2.68"},
      {1.005, L"0.00", L"1.01"},
      {1.065, L"0%", L"107%"},
      {-2.5, L"0", L"-3"},
      {2.5, L"0", L"3"},
      {123.5, L"#", L"124"},
      {0.5, L"0", L"1"},
      {0.49, L"0", L"0"},
      {9.9996, L"0.000", L"10.000"},
      {999.5, L"#,##0", L"1,000"},
  };
  ExpectFormats(std::begin(cases), std::end(cases));
}

TEST(FormatNumber, NegativeThatRoundsToZeroHasNoMinus) {
  const FormatCase cases[] = {
      {-0.001, L"0.00", L"0.00"},
      {-0.4, L"0", L"0"},
      {-0.4, L"#,##0.###", L"-0.4"},
      {-0.0001, L"\\#,##0.###", L"\\0."},
  };
  ExpectFormats(std::begin(cases), std::end(cases));
}

TEST(FormatNumber, SectionsLiteralsAndCurrency) {
  const FormatCase cases[] = {
      {-5, L"0;(0)", L"(5)"},
      {5, L"0;(0)", L"5"},
      {0, L"0;(0)", L"0"},
      {0, L"0;-0;\"zero\"", L"zero"},
      {-3, L"0;-0;\"zero\"", L"-3"},
      {10000, L"\\#,##0;\\-#,##0", L"\\10,000"},
      {-10000, L"\\#,##0;\\-#,##0", L"\\-10,000"},
      {-1000, L"\"¥\"#,##0;\"¥\"\\-#,##0", L"¥-1,000"},
      {-5, L"#,##0;[赤]\\-#,##0", L"\\-5"},
      {-5, L"#,##0;[Red]-#,##0", L"-5"},
      {1000, L"[$¥-411]#,##0", L"¥1,000"},
      {5, L"0\"円\"", L"5円"},
      {5, L"0円", L"5円"},
      {5, L"0_)", L"5 "},
      {-5, L"\"Total: \"0", L"-Total: 5"},
      {5, L"0;;", L"5"},
      {0, L"0;;", L""},
      {-5, L"0;", L""},
      {5, L"0 \\x", L"5 x"},
      {5, L"*-0", L"5"},
  };
  ExpectFormats(std::begin(cases), std::end(cases));
}

TEST(FormatNumber, PercentAndExponent) {
  const FormatCase cases[] = {
      {0.1, L"0%", L"10%"},
      {0.125, L"0.00%", L"12.50%"},
      {-0.125, L"0.0%", L"-12.5%"},
      {1000, L"0.00E+00", L"1.00E+03"},
      {1500, L"0.00E+00", L"1.50E+03"},
      {0.000123, L"0.00E+00", L"1.23E-04"},
      {0, L"0.00E+00", L"0.00E+00"},
      {9.999, L"0.00E+00", L"1.00E+01"},
      {-1234, L"0.00E+00", L"-1.23E+03"},
      {1234, L"0.0E-0", L"1.2E3"},
      {1e100, L"0.00E+00", L"1.00E+100"},
      {12345, L"##0.0E+0", L"12.3E+3"},
      {1234567, L"##0.0E+0", L"1.2E+6"},
  };
  ExpectFormats(std::begin(cases), std::end(cases));
}

TEST(FormatNumber, GeneralShowsTheTextForm) {
  const FormatCase cases[] = {
      {1e21, L"G/標準", L"1E+21"},      {123.5, L"G/標準", L"123.5"},
      {-0.0, L"General", L"0"},         {1.0 / 3.0, L"", L"0.333333333333333"},
      {5, L"[赤]G/標準", L"5"},         {-5, L"G/標準\"個\"", L"-5個"},
      {-5, L"G/標準;(G/標準)", L"(5)"}, {123, L"@", L"123"},
  };
  ExpectFormats(std::begin(cases), std::end(cases));
}

TEST(FormatNumber, DatesAndTimes) {
  const double d20261210 = DateSerial(2026, 12, 10);
  const double d2026105 = DateSerial(2026, 1, 5);
  const FormatCase cases[] = {
      {d20261210, L"yyyy/m/d", L"2026/12/10"},
      {d2026105, L"yyyy/m/d", L"2026/1/5"},
      {d2026105, L"yyyy/mm/dd", L"2026/01/05"},
      {d2026105, L"m/d", L"1/5"},
      {d2026105, L"yy/mm/dd", L"26/01/05"},
      {d2026105, L"yyyy年m月d日", L"2026年1月5日"},
      {d2026105, L"mmm d, yyyy", L"Jan 5, 2026"},
      {d2026105, L"mmmm", L"January"},
      {d2026105, L"ddd dddd", L"Mon Monday"},
      {d20261210, L"aaa", L"木"},
      {d20261210, L"aaaa", L"木曜日"},
      {TimeSerial(12, 30, 0), L"h:mm", L"12:30"},
      {TimeSerial(9, 5, 7), L"h:mm", L"9:05"},
      {TimeSerial(9, 5, 7), L"h:mm:ss", L"9:05:07"},
      {TimeSerial(9, 5, 7), L"hh:mm:ss", L"09:05:07"},
      {TimeSerial(9, 5, 7), L"mm:ss", L"05:07"},
      {TimeSerial(13, 5, 0), L"h:mm AM/PM", L"1:05 PM"},
      {TimeSerial(0, 5, 0), L"h:mm AM/PM", L"12:05 AM"},
      {TimeSerial(0, 59, 59) + 0.6 / 86400, L"h:mm:ss", L"1:00:00"},
      {TimeSerial(0, 0, 1) + 0.25 / 86400, L"mm:ss.00", L"00:01.25"},
      {1.5, L"[h]:mm", L"36:00"},
      {d2026105 + TimeSerial(9, 5, 0), L"yyyy/m/d h:mm", L"2026/1/5 9:05"},
  };
  ExpectFormats(std::begin(cases), std::end(cases));
}

TEST(FormatNumber, CodesThatCannotBeAppliedAreTypeMismatch) {
  const wchar_t* codes[] = {
      L"0\"abc", L"abc",  L"0;0;0;@;0", L"[>100]0", L"# ?/?", L"ggge",
      L"0\\",    L"0.0E", L"[Blu]0",    L"0.0E+",   L"[h",
  };
  for (const wchar_t* code : codes) {
    SCOPED_TRACE(Narrow(code));
    EXPECT_EQ(ErrorOf([&] { FormatNumber(5, code); }), err::kTypeMismatch);
    EXPECT_FALSE(IsValidFormatCode(code));
  }
  EXPECT_EQ(ErrorOf([] { FormatNumber(-1, L"yyyy/m/d"); }), err::kTypeMismatch);
}

TEST(IsValidFormatCode, CodesThePasteStepAndExcelWrite) {
  const wchar_t* codes[] = {
      L"###0",
      L"\\###0",
      L"#,##0",
      L"\\#,##0",
      L"###0.###",
      L"\\###0.###",
      L"#,##0.###",
      L"\\#,##0.###",
      L"\\#,##0;\\-#,##0",
      L"0%",
      L"0.00%",
      L"0.00E+00",
      L"yyyy/m/d",
      L"h:mm",
      L"G/標準",
      L"@",
      L"#,##0;[赤]-#,##0",
      L"[$¥-411]#,##0.00",
  };
  for (const wchar_t* code : codes) {
    SCOPED_TRACE(Narrow(code));
    EXPECT_TRUE(IsValidFormatCode(code));
  }
}

TEST(IsGeneralFormat, Spellings) {
  EXPECT_TRUE(IsGeneralFormat(L"G/標準"));
  EXPECT_TRUE(IsGeneralFormat(L"General"));
  EXPECT_TRUE(IsGeneralFormat(L"general"));
  EXPECT_TRUE(IsGeneralFormat(L""));
  EXPECT_FALSE(IsGeneralFormat(L"0"));
  EXPECT_FALSE(IsGeneralFormat(L"[赤]G/標準"));
}

TEST(DisplayText, FillsWithHashWhenWiderThanTheColumn) {
  struct Case {
    Value value;
    const wchar_t* code;
    double width;
    const wchar_t* shown;
  };
  const Case cases[] = {
      {Value::Number(12345678), L"0", 8.38, L"12345678"},
      {Value::Number(123456789), L"0", 8.38, L"########"},
      {Value::Number(12345678), L"#,##0", 8.38, L"########"},
      {Value::Number(12345678), L"#,##0", 10, L"12,345,678"},
      {Value::Number(12345678), L"#,##0", 9.99, L"#########"},
      {Value::Number(-5), L"0", 1.5, L"#"},
      {Value::Number(5), L"0", 0, L""},
      {Value::Number(123456789012.0), L"G/標準", 2, L"123456789012"},
      {Value::Number(1e21), L"G/標準", 1, L"1E+21"},
      {Value::FromDate(DateSerial(2026, 12, 10)), L"yyyy/mm/dd", 8.38, L"########"},
      {Value::FromDate(DateSerial(2026, 12, 10)), L"yyyy/mm/dd", 10.5, L"2026/12/10"},
      {Value::FromDate(DateSerial(2026, 12, 10)), L"G/標準", 3, L"2026/12/10"},
      {Value::Number(-1), L"yyyy/m/d", 8.38, L"########"},
      {Value::Number(5), L"0\"円\"", 2.9, L"##"},
      {Value::Number(5), L"0\"円\"", 3, L"5円"},
      {Value::Text(L"a long piece of text"), L"0", 2, L"a long piece of text"},
      {Value::Logical(true), L"0", 8.38, L"TRUE"},
      {Value::Logical(false), L"G/標準", 8.38, L"FALSE"},
      {Value::Error(2007), L"0", 8.38, L"#DIV/0!"},
      {Value::Error(2042), L"G/標準", 8.38, L"#N/A"},
      {Value(), L"0", 8.38, L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.code) + " " + Narrow(c.shown));
    EXPECT_EQ(DisplayText(c.value, c.code, c.width), c.shown);
  }
}

TEST(DisplayText, TextThroughATextSection) {
  EXPECT_EQ(DisplayText(Value::Text(L"ab"), L"0;-0;0;\"<\"@\">\"", 8.38), L"<ab>");
  EXPECT_EQ(DisplayText(Value::Text(L"ab"), L"\"x\"@", 8.38), L"xab");
  EXPECT_EQ(DisplayText(Value::Text(L"ab"), L"@", 8.38), L"ab");
  EXPECT_EQ(DisplayText(Value::Text(L"ab"), L"#,##0", 8.38), L"ab");
  EXPECT_EQ(DisplayText(Value::Number(-5), L"0;-0;0;\"<\"@\">\"", 8.38), L"-5");
}

TEST(DisplayWidth, FullWidthCountsTwo) {
  EXPECT_EQ(DisplayWidth(L"abc"), 3u);
  EXPECT_EQ(DisplayWidth(L"\uFF11\uFF12\uFF13"), 6u);
  EXPECT_EQ(DisplayWidth(L"日本"), 4u);
  EXPECT_EQ(DisplayWidth(L"\uFF71"), 1u);  // half-width katakana
  EXPECT_EQ(DisplayWidth(L"\uFFE5"), 2u);
  EXPECT_EQ(DisplayWidth(L""), 0u);
}

}  // namespace
}  // namespace harumado::rt
