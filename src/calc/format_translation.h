#pragma once
// Number-format codes between the program's local (Japanese Excel) codes and Calc's codes in
// its Japanese locale. The two agree on placeholders, literals and date letters; they differ in
// the yen mark (a '\' that opens a section in a local code is the yen mark, shown as '\'; in
// Calc a '\' always escapes the next character, so the mark is "\\"), in the name of General
// ("G/標準" against Calc's own standard format), in the colour names and in the letter case Calc
// gives date and time codes.
#include <string>
#include <string_view>

namespace harumado::calc {

// The Calc code for a local code; General gives the empty code (the standard format).
std::wstring CalcCodeOf(std::wstring_view local_code);

// The local code for a Calc code ("General", "Standard" and Calc's "BOOLEAN" give "G/標準").
std::wstring LocalCodeOf(std::wstring_view calc_code);

}  // namespace harumado::calc
