#include "runtime/typed_input.h"

#include <gtest/gtest.h>

#include "runtime/conversions.h"

namespace harumado::rt {
namespace {

constexpr const wchar_t* kGeneral = L"G/標準";
constexpr const wchar_t* kKept = nullptr;  // the cell keeps its format

struct Case {
  const wchar_t* entry;
  const wchar_t* cell_format;
  rt::Value value;
  const wchar_t* format;
};

class TypedInputTest : public testing::TestWithParam<Case> {};

TEST_P(TypedInputTest, ReadsAsExcelReadsTypedInput) {
  const Case& c = GetParam();
  const TypedInput in = ReadTypedInput(c.entry, c.cell_format);
  EXPECT_EQ(in.value, c.value) << "entry \"" << testing::PrintToString(std::wstring(c.entry));
  if (c.format == kKept) {
    EXPECT_FALSE(in.format.has_value()) << testing::PrintToString(*in.format);
  } else {
    ASSERT_TRUE(in.format.has_value());
    EXPECT_EQ(*in.format, c.format);
  }
}

const rt::Value N(double d) { return rt::Value::Number(d); }
const rt::Value T(const wchar_t* s) { return rt::Value::Text(s); }

INSTANTIATE_TEST_SUITE_P(
    Table, TypedInputTest,
    testing::Values(
        // Plain numbers keep the cell's format.
        Case{L"123", kGeneral, N(123), kKept}, Case{L"-5", kGeneral, N(-5), kKept},
        Case{L"0003", kGeneral, N(3), kKept}, Case{L" 123 ", kGeneral, N(123), kKept},
        Case{L"(123)", kGeneral, N(-123), kKept}, Case{L"１２３", kGeneral, N(123), kKept},
        Case{L"123.5", kGeneral, N(123.5), kKept}, Case{L"123.", kGeneral, N(123), kKept},
        Case{L"7", L"0.00", N(7), kKept},
        // Grouping, currency, percent and exponent give their formats.
        Case{L"1,234", kGeneral, N(1234), L"#,##0"},
        Case{L"1,234.5", kGeneral, N(1234.5), L"#,##0.00"},
        Case{L"-1,234", kGeneral, N(-1234), L"#,##0"},
        Case{L"\\1,000", kGeneral, N(1000), L"\\#,##0;\\-#,##0"},
        Case{L"\\1000", kGeneral, N(1000), L"\\#,##0;\\-#,##0"},
        Case{L"\u00A51,000", kGeneral, N(1000), L"\\#,##0;\\-#,##0"},
        Case{L"\\1,000.5", kGeneral, N(1000.5), L"\\#,##0.00;\\-#,##0.00"},
        Case{L"10%", kGeneral, N(0.1), L"0%"}, Case{L"12.5%", kGeneral, N(0.125), L"0.00%"},
        Case{L"1E3", kGeneral, N(1000), L"0.00E+00"},
        Case{L"1.5e3", kGeneral, N(1500), L"0.00E+00"},
        // Dates and times.
        Case{L"2026/12/10", kGeneral, rt::Value::FromDate(rt::DateSerial(2026, 12, 10)),
             L"yyyy/m/d"},
        Case{L"2026/1/5", kGeneral, rt::Value::FromDate(rt::DateSerial(2026, 1, 5)), L"yyyy/m/d"},
        Case{L"12:30", kGeneral, rt::Value::FromDate(rt::TimeSerial(12, 30, 0)), L"h:mm"},
        // Logicals in any case.
        Case{L"TRUE", kGeneral, rt::Value::Logical(true), kKept},
        Case{L"false", kGeneral, rt::Value::Logical(false), kKept},
        // Everything else is the text as entered.
        Case{L"123-", kGeneral, T(L"123-"), kKept},
        Case{L"\uFFE51,000", kGeneral, T(L"\uFFE51,000"), kKept},
        Case{L"Smith, John", kGeneral, T(L"Smith, John"), kKept},
        Case{L"=1+2", kGeneral, T(L"=1+2"), kKept}, Case{L"1,2,3", kGeneral, T(L"1,2,3"), kKept},
        Case{L"12,34", kGeneral, T(L"12,34"), kKept},
        Case{L"2026/2/30", kGeneral, T(L"2026/2/30"), kKept},
        Case{L"25:00", kGeneral, T(L"25:00"), kKept}, Case{L" abc ", kGeneral, T(L" abc "), kKept},
        // A text cell takes every entry as text; the empty entry empties the cell.
        Case{L"0003", L"@", T(L"0003"), kKept}, Case{L"1,234", L"@", T(L"1,234"), kKept},
        Case{L"", kGeneral, rt::Value(), kKept}));

}  // namespace
}  // namespace harumado::rt
