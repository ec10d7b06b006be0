#pragma once
// Clipboard text as the block of cells that pasting it fills.
#include <string>
#include <string_view>
#include <vector>

namespace harumado::rt {

// Rows split at CR LF, LF or CR, fields at tabs; one line end at the very end adds no row.
std::vector<std::vector<std::wstring>> SplitPasteBlock(std::wstring_view text);

}  // namespace harumado::rt
