#pragma once
// A local (Japanese) number-format code taken apart into sections and tokens.
#include <string>
#include <string_view>
#include <vector>

namespace harumado::rt::detail {

enum class TokenKind {
  kLiteral,       // text shown as it stands
  kDigit,         // 0, # or ? (ch)
  kPoint,         // the decimal point of the number
  kPercent,       // % (shown, and the value is multiplied by 100)
  kExponent,      // E+ / E- (ch is '+' or '-'); the digit tokens after it belong to the exponent
  kGeneral,       // G/標準 or General
  kText,          // @
  kYear,          // count letters
  kMonth,         // m..mmmmm as a month
  kMinute,        // m or mm next to hours or seconds
  kDay,           // d..dddd
  kJapaneseDay,   // aaa / aaaa
  kHour,          // h, hh
  kSecond,        // s, ss
  kFracSecond,    // .0, .00, .000 after seconds (count digits)
  kElapsedHours,  // [h]
  kElapsedMinutes,
  kElapsedSeconds,
  kAmPm,  // AM/PM (count 2) or A/P (count 1); text keeps the letter case of the code
};

struct Token {
  TokenKind kind = TokenKind::kLiteral;
  std::wstring text;  // literal text, or the AM/PM spelling
  wchar_t ch = 0;
  int count = 0;
};

struct Section {
  std::vector<Token> tokens;
  bool is_date = false;  // has date or time tokens
  bool is_text = false;  // has @
  bool has_general = false;
  bool grouping = false;    // ',' between integer digit placeholders
  int thousands_scale = 0;  // ',' after the last digit placeholder: divide by 1000 each
  int percent = 0;
  bool has_exponent = false;
  bool twelve_hour = false;
  int integer_digits = 0;   // digit placeholders before the point (mantissa when exponent)
  int fraction_digits = 0;  // digit placeholders after the point
  bool empty() const { return tokens.empty(); }
};

struct FormatCode {
  std::vector<Section> sections;  // 1 to 4
};

// Throws AutomationError 13 when the code cannot be taken apart.
FormatCode ParseFormatCode(std::wstring_view code);

}  // namespace harumado::rt::detail
