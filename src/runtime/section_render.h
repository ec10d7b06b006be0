#pragma once
// Rendering one section of a format code.
#include <optional>
#include <string>
#include <string_view>

#include "runtime/format_code.h"

namespace harumado::rt::detail {

// A number section applied to a magnitude; `minus` puts '-' before everything unless the
// shown number rounds to zero.
std::wstring RenderNumberSection(const Section& section, double magnitude, bool minus);

// A date/time section applied to a serial; nothing when the serial cannot be shown as a date
// (negative, or after 9999-12-31): the cell then shows a row of '#'.
std::optional<std::wstring> RenderDateSection(const Section& section, double serial);

// A text section (with @) applied to a text.
std::wstring RenderTextSection(const Section& section, std::wstring_view text);

}  // namespace harumado::rt::detail
