#pragma once
// How the spreadsheet reads a text that is typed or pasted into a cell.
#include <optional>
#include <string>
#include <string_view>

#include "runtime/value.h"

namespace harumado::rt {

struct TypedInput {
  rt::Value value;
  // The number format the entry gives its cell; nothing when the cell keeps its format.
  std::optional<std::wstring> format;
};

// Reads one entry as the spreadsheet reads typed input into a cell whose local format is
// cell_format. The empty entry empties the cell.
TypedInput ReadTypedInput(std::wstring_view entry, std::wstring_view cell_format);

}  // namespace harumado::rt
