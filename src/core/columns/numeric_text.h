#pragma once
// What counts as numeric content for column fitting, and how long it shows.
#include <cstddef>
#include <string>
#include <string_view>

#include "runtime/value.h"

namespace harumado::columns {

// No character but the digits, ',', '.' and '\'; the empty text counts as numeric.
bool IsNumericText(std::wstring_view text);

// Length in characters of a numeric cell's value formatted with the cell's local format code;
// the text form's length when the format cannot be applied.
std::size_t FormattedLength(const rt::Value& value, const std::wstring& text,
                            const std::wstring& format);

}  // namespace harumado::columns
