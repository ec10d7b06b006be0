#pragma once
// Where Calc's cell cursor is. The API gives the selection, whose top-left cell need not be the
// cursor; the cursor itself is only in the view's data string.
#include <cstdint>
#include <optional>
#include <string_view>

namespace harumado::calc {

struct CellPosition {
  std::int32_t column = 0;  // 0-based, as Calc counts
  std::int32_t row = 0;
  bool operator==(const CellPosition&) const = default;
};

// The cursor of the active sheet in a view data string
// ("zoom/zoom/pagebreak;active sheet;tw:tab bar width;column/row/...;column/row/...", one block
// per sheet, whose numbers are separated by '/' or, for large rows, '+'); nothing when the
// string holds none.
std::optional<CellPosition> CursorOfViewData(std::wstring_view data);

}  // namespace harumado::calc
