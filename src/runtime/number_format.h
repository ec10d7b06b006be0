#pragma once
// Formatting a number with a local (Japanese) number-format code, as Excel displays it.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/value.h"

namespace harumado::rt {

inline constexpr std::wstring_view kGeneralFormat = L"G/標準";
inline constexpr std::wstring_view kTextFormat = L"@";

// The display of a number (or date serial) under a local format code: up to four sections
// pos;neg;zero;text, placeholders 0 # . , with the trailing point, \x literals, "..." literals,
// %, E+00, date/time codes. Rounding is half away from zero at 15 significant digits.
// Throws AutomationError 13 when the code cannot be applied.
std::wstring FormatNumber(double value, std::wstring_view code);

// What a cell displays (Range.Text): General shows the text form and never fills; any other
// code shows the formatted number, or as many '#' as the column holds whole characters when
// the display is longer than the column width. Texts show as themselves (or through a text
// section), logicals as TRUE/FALSE, errors as #DIV/0! and the like. A negative date shows as
// '#' over the whole width. Throws AutomationError 13 when the code cannot be applied.
std::wstring DisplayText(const Value& v, std::wstring_view code, double column_width_chars);

// A number's display as a column of that width (in characters) shows it under a code other than
// General: the display itself, or as many '#' as the column holds whole characters when the
// display is longer (or when there is none).
std::wstring FitToColumn(std::wstring shown, double column_width_chars);

// Whether a code is the General format (G/標準, General, empty).
bool IsGeneralFormat(std::wstring_view code);

// Whether FormatNumber can apply the code (General included).
bool IsValidFormatCode(std::wstring_view code);

// Width of a displayed text in character columns: a full-width character counts two.
std::size_t DisplayWidth(std::wstring_view text);

// The text of a cell error value (2007 -> #DIV/0!, 2042 -> #N/A, ...).
std::wstring ErrorValueText(std::int32_t code);

}  // namespace harumado::rt
