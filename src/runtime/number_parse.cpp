#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "runtime/automation_error.h"
#include "runtime/conversions.h"

namespace harumado::rt {

namespace {

enum class ReadStatus { kOk, kNotNumber, kOverflow };

struct ReadResult {
  ReadStatus status = ReadStatus::kNotNumber;
  double value = 0;
};

bool IsBlank(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
// The ja-JP currency symbol: the backslash that Japanese fonts draw as a yen mark, or the
// yen sign itself. The full-width yen sign U+FFE5 is not the locale's symbol.
bool IsCurrency(wchar_t c) { return c == L'\\' || c == L'\u00A5'; }

int HexDigitValue(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

// Converts an ASCII decimal "digits[.digits][e[+-]digits]" with std::from_chars, which does
// not depend on the process locale. A magnitude beyond the double range is an overflow;
// one below it reads as zero.
ReadResult ConvertDecimal(const std::string& text, bool negative) {
  double value = 0;
  const char* first = text.data();
  const char* last = first + text.size();
  auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
  if (end != last && ec == std::errc{}) return {ReadStatus::kNotNumber, 0};
  if (ec == std::errc::result_out_of_range) {
    // Decide between overflow and underflow by the decimal order of the first non-zero digit.
    std::int64_t order = 0;
    bool seen_point = false;
    bool seen_nonzero = false;
    std::size_t i = 0;
    for (; i < text.size() && text[i] != 'e' && text[i] != 'E'; ++i) {
      const char c = text[i];
      if (c == '.') {
        seen_point = true;
      } else if (!seen_nonzero && c != '0') {
        seen_nonzero = true;
      } else if (seen_nonzero && !seen_point) {
        ++order;
      } else if (!seen_nonzero && seen_point) {
        --order;
      }
    }
    if (i < text.size()) {
      std::int64_t exponent = 0;
      bool exp_negative = false;
      for (++i; i < text.size(); ++i) {
        if (text[i] == '-') exp_negative = true;
        if (text[i] >= '0' && text[i] <= '9' && exponent < 100000000) {
          exponent = exponent * 10 + (text[i] - '0');
        }
      }
      order += exp_negative ? -exponent : exponent;
    }
    if (order > 0) return {ReadStatus::kOverflow, 0};
    return {ReadStatus::kOk, 0.0};
  }
  if (ec != std::errc{}) return {ReadStatus::kNotNumber, 0};
  return {ReadStatus::kOk, (negative ? -value : value) + 0.0};
}

// The string-to-number grammar of the automation runtime under ja-JP: leading symbols (blanks,
// one sign, one currency symbol, an opening parenthesis) in any order, then either &H/&O with
// hexadecimal/octal digits or a decimal number whose ',' separators are accepted anywhere after
// its first digit without a grouping check ("1,2,3" is 123), then trailing symbols (blanks, the
// sign or currency symbol if not seen yet, the closing parenthesis). Anything left over means
// the text is not a number.
ReadResult ReadText(std::wstring_view s) {
  const ReadResult not_number{};
  std::size_t i = 0;
  const std::size_t n = s.size();
  bool sign_seen = false;
  bool negative = false;
  bool currency_seen = false;
  bool paren_open = false;
  for (; i < n; ++i) {
    const wchar_t c = s[i];
    if (IsBlank(c)) continue;
    if (!sign_seen && (c == L'+' || c == L'-')) {
      sign_seen = true;
      negative = c == L'-';
    } else if (!currency_seen && IsCurrency(c)) {
      currency_seen = true;
    } else if (!paren_open && c == L'(') {
      paren_open = true;
    } else {
      break;
    }
  }

  ReadResult number;
  const bool radix_prefix =
      !currency_seen && i + 1 < n && s[i] == L'&' &&
      (s[i + 1] == L'H' || s[i + 1] == L'h' || s[i + 1] == L'O' || s[i + 1] == L'o');
  if (radix_prefix) {
    const bool hex = s[i + 1] == L'H' || s[i + 1] == L'h';
    const int radix = hex ? 16 : 8;
    i += 2;
    std::uint64_t acc = 0;
    bool any_digit = false;
    bool overflow = false;
    for (; i < n; ++i) {
      const int d = HexDigitValue(s[i]);
      if (d < 0 || d >= radix) break;
      any_digit = true;
      if (acc > (std::numeric_limits<std::uint64_t>::max() - static_cast<unsigned>(d)) /
                    static_cast<unsigned>(radix)) {
        overflow = true;
      }
      acc = acc * static_cast<unsigned>(radix) + static_cast<unsigned>(d);
    }
    if (!any_digit) return not_number;
    number = overflow ? ReadResult{ReadStatus::kOverflow, 0}
                      : ReadResult{ReadStatus::kOk, static_cast<double>(acc)};
  } else {
    std::string ascii;
    bool any_digit = false;
    bool point_seen = false;
    for (; i < n; ++i) {
      const wchar_t c = s[i];
      if (IsDigit(c)) {
        ascii += static_cast<char>(c);
        any_digit = true;
      } else if (c == L',' && any_digit) {
        continue;
      } else if (c == L'.' && !point_seen) {
        point_seen = true;
        ascii += '.';
      } else {
        break;
      }
    }
    if (!any_digit) return not_number;
    if (i < n && (s[i] == L'e' || s[i] == L'E')) {
      std::size_t j = i + 1;
      std::string exponent = "e";
      if (j < n && (s[j] == L'+' || s[j] == L'-')) exponent += static_cast<char>(s[j++]);
      const std::size_t digits_start = j;
      for (; j < n && IsDigit(s[j]); ++j) exponent += static_cast<char>(s[j]);
      if (j == digits_start) return not_number;
      ascii += exponent;
      i = j;
    }
    number = ConvertDecimal(ascii, false);
  }

  bool paren_closed = false;
  for (; i < n; ++i) {
    const wchar_t c = s[i];
    if (IsBlank(c)) continue;
    if (!sign_seen && (c == L'+' || c == L'-')) {
      sign_seen = true;
      negative = c == L'-';
    } else if (!currency_seen && IsCurrency(c)) {
      currency_seen = true;
    } else if (paren_open && !paren_closed && c == L')') {
      paren_closed = true;
    } else {
      return not_number;
    }
  }
  if (paren_open != paren_closed) return not_number;
  if (paren_open) {
    if (sign_seen) return not_number;
    negative = true;
  }
  if (number.status == ReadStatus::kOk && negative) number.value = -number.value + 0.0;
  return number;
}

}  // namespace

std::optional<double> ReadNumber(std::wstring_view text) {
  const ReadResult r = ReadText(text);
  if (r.status != ReadStatus::kOk) return std::nullopt;
  return r.value;
}

bool IsNumericValue(const Value& v) {
  switch (v.kind()) {
    case Value::Kind::kEmpty:
    case Value::Kind::kNumber:
    case Value::Kind::kLogical:
      return true;
    case Value::Kind::kText:
      return ReadsAsNumber(v.text());
    case Value::Kind::kDate:
    case Value::Kind::kError:
      break;
  }
  return false;
}

// VB's Val: blanks, tabs and line feeds are dropped wherever they stand ("1 2" is 12), then the
// longest decimal number at the start is read ('.' only, optional sign, e/E exponent); &H and &O
// read as a 16-bit Integer when they fit, else as a 32-bit Long, both two's complement
// ("&HFFFF" is -1). A number beyond the double range is an overflow (error 6).
double LeadingNumber(std::wstring_view text) {
  std::wstring t;
  t.reserve(text.size());
  for (const wchar_t c : text) {
    if (c != L' ' && c != L'\t' && c != L'\n') t += c;
  }
  std::size_t i = 0;
  const std::size_t n = t.size();
  if (n >= 2 && t[0] == L'&' && (t[1] == L'H' || t[1] == L'h' || t[1] == L'O' || t[1] == L'o')) {
    const int radix = (t[1] == L'H' || t[1] == L'h') ? 16 : 8;
    std::uint64_t acc = 0;
    for (i = 2; i < n; ++i) {
      const int d = HexDigitValue(t[i]);
      if (d < 0 || d >= radix) break;
      acc = acc * static_cast<unsigned>(radix) + static_cast<unsigned>(d);
      if (acc > 0xFFFFFFFFu) throw AutomationError(err::kOverflow);
    }
    if (acc <= 0xFFFFu) return static_cast<double>(static_cast<std::int16_t>(acc));
    return static_cast<double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(acc)));
  }
  bool negative = false;
  if (i < n && (t[i] == L'+' || t[i] == L'-')) {
    negative = t[i] == L'-';
    ++i;
  }
  std::string ascii;
  bool any_digit = false;
  bool point_seen = false;
  for (; i < n; ++i) {
    if (IsDigit(t[i])) {
      ascii += static_cast<char>(t[i]);
      any_digit = true;
    } else if (t[i] == L'.' && !point_seen) {
      point_seen = true;
      ascii += '.';
    } else {
      break;
    }
  }
  if (!any_digit) return 0;
  if (i < n && (t[i] == L'e' || t[i] == L'E')) {
    std::size_t j = i + 1;
    std::string exponent = "e";
    if (j < n && (t[j] == L'+' || t[j] == L'-')) exponent += static_cast<char>(t[j++]);
    const std::size_t digits_start = j;
    for (; j < n && IsDigit(t[j]); ++j) exponent += static_cast<char>(t[j]);
    if (j > digits_start) ascii += exponent;
  }
  const ReadResult r = ConvertDecimal(ascii, negative);
  if (r.status == ReadStatus::kOverflow) throw AutomationError(err::kOverflow);
  return r.value;
}

std::int32_t ToInt32(std::wstring_view text) {
  const ReadResult r = ReadText(text);
  if (r.status == ReadStatus::kNotNumber) throw AutomationError(err::kTypeMismatch);
  if (r.status == ReadStatus::kOverflow) throw AutomationError(err::kOverflow);
  return ToInt32(r.value);
}

// Rounds to the nearest integer, an exact half to the even neighbour (2.5 -> 2, 3.5 -> 4), and
// checks the range after rounding: 2147483647.5 overflows.
std::int32_t ToInt32(double d) {
  if (!std::isfinite(d)) throw AutomationError(err::kOverflow);
  double r = std::floor(d);
  const double diff = d - r;
  if (diff > 0.5 || (diff == 0.5 && std::fmod(r, 2.0) != 0.0)) r += 1.0;
  if (r < -2147483648.0 || r > 2147483647.0) throw AutomationError(err::kOverflow);
  return static_cast<std::int32_t>(r);
}

// `text Like "*[!0-9,.\]*"` under binary comparison: some character lies outside 0-9 , . \.
bool HasNonNumericChar(std::wstring_view text) {
  for (const wchar_t c : text) {
    if (!IsDigit(c) && c != L',' && c != L'.' && c != L'\\') return true;
  }
  return false;
}

}  // namespace harumado::rt
