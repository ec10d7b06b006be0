#include "runtime/typed_input.h"

#include <cwchar>

#include "runtime/ascii_case.h"
#include "runtime/conversions.h"
#include "runtime/number_format.h"

namespace harumado::rt {
namespace {

constexpr std::wstring_view kCommaFormat = L"#,##0";
constexpr std::wstring_view kCommaDecimalFormat = L"#,##0.00";
constexpr std::wstring_view kYenFormat = L"\\#,##0;\\-#,##0";
constexpr std::wstring_view kYenDecimalFormat = L"\\#,##0.00;\\-#,##0.00";
constexpr std::wstring_view kPercentFormat = L"0%";
constexpr std::wstring_view kPercentDecimalFormat = L"0.00%";
constexpr std::wstring_view kExponentFormat = L"0.00E+00";
constexpr std::wstring_view kDateFormat = L"yyyy/m/d";
constexpr std::wstring_view kTimeFormat = L"h:mm";
constexpr std::wstring_view kTimeSecondsFormat = L"h:mm:ss";

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Full-width ASCII forms (U+FF01..U+FF5E) read as their half-width letters and digits, as the
// spreadsheet converts them on entry. The full-width yen sign U+FFE5 lies outside this range.
std::wstring HalfWidth(std::wstring_view s) {
  std::wstring out(s);
  for (wchar_t& c : out) {
    if (c >= 0xFF01 && c <= 0xFF5E) c = static_cast<wchar_t>(c - 0xFF01 + 0x21);
  }
  return out;
}

std::wstring_view TrimBlanks(std::wstring_view s) {
  while (!s.empty() && s.front() == L' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == L' ') s.remove_suffix(1);
  return s;
}

// A number as typed: an optional sign (or parentheses), an optional yen mark (\ or U+00A5)
// before the digits, digits grouped by commas in threes after the first group, an optional
// fraction, then either an exponent or a percent sign.
struct TypedNumber {
  double value = 0;
  bool grouped = false;
  bool fraction = false;  // digits after the point
  bool yen = false;
  bool percent = false;
  bool exponent = false;
};

std::optional<TypedNumber> ReadNumberEntry(std::wstring_view s) {
  TypedNumber n;
  bool negative = false;
  bool parenthesised = false;
  if (s.size() >= 2 && s.front() == L'(' && s.back() == L')') {
    parenthesised = true;
    s = s.substr(1, s.size() - 2);
  }
  auto take_yen = [&] {
    if (!s.empty() && (s.front() == L'\\' || s.front() == 0x00A5)) {
      if (n.yen) return false;
      n.yen = true;
      s.remove_prefix(1);
    }
    return true;
  };
  if (!take_yen()) return std::nullopt;
  if (!s.empty() && (s.front() == L'-' || s.front() == L'+')) {
    if (parenthesised) return std::nullopt;
    negative = s.front() == L'-';
    s.remove_prefix(1);
  }
  if (!take_yen()) return std::nullopt;
  if (n.yen && parenthesised) return std::nullopt;

  std::wstring digits;  // the number without grouping, for the conversion
  std::size_t i = 0;
  std::size_t group = 0;
  while (i < s.size() && (IsDigit(s[i]) || s[i] == L',')) {
    if (s[i] == L',') {
      // A comma needs one to three digits before it (the first group) or exactly three.
      if (group == 0 || (n.grouped && group != 3) || group > 3) return std::nullopt;
      n.grouped = true;
      group = 0;
    } else {
      digits.push_back(s[i]);
      ++group;
    }
    ++i;
  }
  if (n.grouped && group != 3) return std::nullopt;
  if (i < s.size() && s[i] == L'.') {
    digits.push_back(L'.');
    ++i;
    while (i < s.size() && IsDigit(s[i])) {
      digits.push_back(s[i]);
      n.fraction = true;
      ++i;
    }
  }
  const bool has_digit = digits.find_first_of(L"0123456789") != std::wstring::npos;
  if (!has_digit) return std::nullopt;
  if (i < s.size() && (s[i] == L'e' || s[i] == L'E')) {
    std::wstring exponent = L"e";
    ++i;
    if (i < s.size() && (s[i] == L'+' || s[i] == L'-')) exponent.push_back(s[i++]);
    const std::size_t first = i;
    while (i < s.size() && IsDigit(s[i])) exponent.push_back(s[i++]);
    if (i == first || n.yen || n.grouped) return std::nullopt;
    digits += exponent;
    n.exponent = true;
  } else if (i < s.size() && s[i] == L'%') {
    if (n.yen) return std::nullopt;
    n.percent = true;
    ++i;
  }
  if (i != s.size()) return std::nullopt;
  n.value = std::wcstod(digits.c_str(), nullptr);
  if (n.percent) n.value /= 100;
  if (negative || parenthesised) n.value = -n.value;
  return n;
}

std::optional<int> ReadPart(std::wstring_view s, std::size_t min_digits, std::size_t max_digits) {
  if (s.size() < min_digits || s.size() > max_digits) return std::nullopt;
  int v = 0;
  for (wchar_t c : s) {
    if (!IsDigit(c)) return std::nullopt;
    v = v * 10 + (c - L'0');
  }
  return v;
}

// yyyy/m/d with a real calendar date.
std::optional<double> ReadDateEntry(std::wstring_view s) {
  const auto a = s.find(L'/');
  if (a == std::wstring_view::npos) return std::nullopt;
  const auto b = s.find(L'/', a + 1);
  if (b == std::wstring_view::npos) return std::nullopt;
  const auto year = ReadPart(s.substr(0, a), 4, 4);
  const auto month = ReadPart(s.substr(a + 1, b - a - 1), 1, 2);
  const auto day = ReadPart(s.substr(b + 1), 1, 2);
  if (!year || !month || !day || *year < 1900 || *month < 1 || *month > 12 || *day < 1) {
    return std::nullopt;
  }
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (*year % 4 == 0 && *year % 100 != 0) || *year % 400 == 0;
  const int last = *month == 2 && leap ? 29 : kDays[*month - 1];
  if (*day > last) return std::nullopt;
  return rt::DateSerial(*year, *month, *day);
}

// h:mm or h:mm:ss within one day.
std::optional<std::pair<double, bool>> ReadTimeEntry(std::wstring_view s) {
  const auto a = s.find(L':');
  if (a == std::wstring_view::npos) return std::nullopt;
  const auto b = s.find(L':', a + 1);
  const auto hour = ReadPart(s.substr(0, a), 1, 2);
  const auto minute = ReadPart(
      s.substr(a + 1, b == std::wstring_view::npos ? std::wstring_view::npos : b - a - 1), 2, 2);
  std::optional<int> second = 0;
  if (b != std::wstring_view::npos) second = ReadPart(s.substr(b + 1), 2, 2);
  if (!hour || !minute || !second || *hour > 23 || *minute > 59 || *second > 59) {
    return std::nullopt;
  }
  return std::make_pair(rt::TimeSerial(*hour, *minute, *second), b != std::wstring_view::npos);
}

}  // namespace

// The entry is tried, after full-width forms are made half-width and blanks around are
// dropped, as a logical, a number (with the format its writing implies), a date and a time;
// anything else stays the text as entered.
TypedInput ReadTypedInput(std::wstring_view entry, std::wstring_view cell_format) {
  if (entry.empty()) return TypedInput{};
  if (cell_format == rt::kTextFormat) return TypedInput{rt::Value::Text(std::wstring(entry)), {}};
  const std::wstring half = HalfWidth(entry);
  const std::wstring_view s = TrimBlanks(half);
  if (EqualsIgnoringAsciiCase(s, L"TRUE")) return TypedInput{rt::Value::Logical(true), {}};
  if (EqualsIgnoringAsciiCase(s, L"FALSE")) return TypedInput{rt::Value::Logical(false), {}};
  if (auto n = ReadNumberEntry(s)) {
    TypedInput in{rt::Value::Number(n->value), {}};
    if (n->percent) {
      in.format = std::wstring(n->fraction ? kPercentDecimalFormat : kPercentFormat);
    } else if (n->exponent) {
      in.format = std::wstring(kExponentFormat);
    } else if (n->yen) {
      in.format = std::wstring(n->fraction ? kYenDecimalFormat : kYenFormat);
    } else if (n->grouped) {
      in.format = std::wstring(n->fraction ? kCommaDecimalFormat : kCommaFormat);
    }
    return in;
  }
  if (auto date = ReadDateEntry(s)) {
    return TypedInput{rt::Value::FromDate(*date), std::wstring(kDateFormat)};
  }
  if (auto time = ReadTimeEntry(s)) {
    return TypedInput{rt::Value::FromDate(time->first),
                      std::wstring(time->second ? kTimeSecondsFormat : kTimeFormat)};
  }
  return TypedInput{rt::Value::Text(std::wstring(entry)), {}};
}

}  // namespace harumado::rt
