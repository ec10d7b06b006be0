#pragma once
#include <string>
#include <string_view>

namespace harumado::rt {

// The narrow form of a text (StrConv vbNarrow under the Japanese code page): full-width letters,
// digits, signs, the ideographic space and katakana become their half-width forms.
std::wstring ToNarrow(std::wstring_view text);

}  // namespace harumado::rt
