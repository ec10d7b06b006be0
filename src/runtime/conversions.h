#pragma once
// The automation runtime's own conversions, as the program relies on them.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/value.h"

namespace harumado::rt {

// Text form of a value (CStr): numbers with at most 15 significant digits, %.15G style
// (1E+21, 1E-05, -0 gives 0); empty gives ""; logical True/False; dates yyyy/mm/dd[ h:mm:ss].
// Error values throw AutomationError 13.
std::wstring TextForm(const Value& v);
std::wstring NumberText(double d);

// Reads the text as a number under ja-JP conventions (blanks around, leading or trailing sign,
// parentheses, ',' grouping after the first digit, '\' or U+00A5 currency before or after,
// &H/&O, exponent). Returns nothing when the text does not read as a number.
std::optional<double> ReadNumber(std::wstring_view text);
inline bool ReadsAsNumber(std::wstring_view text) { return ReadNumber(text).has_value(); }

// Number, empty, logical, or a text that reads as a number.
bool IsNumericValue(const Value& v);

// VB Val: the leading decimal number of a text ('.' only), 0 when there is none.
double LeadingNumber(std::wstring_view text);

// Text to a 32-bit integer: read as a number, round half to even. Throws AutomationError 13
// when the text is not a number, 6 when the result is out of range.
std::int32_t ToInt32(std::wstring_view text);
// The same for a number.
std::int32_t ToInt32(double d);

// True when `text Like "*[!0-9,.\]*"`: the text holds a character other than 0-9 , . and \.
bool HasNonNumericChar(std::wstring_view text);

// Date serial for a calendar date and time of day.
double DateSerial(int year, int month, int day);
double TimeSerial(int hour, int minute, int second);

}  // namespace harumado::rt
