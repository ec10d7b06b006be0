#pragma once
// The cells of one column that fitting has emptied, until they have their content back.
#include <cstdint>
#include <utility>
#include <vector>

#include "core/columns/saved_content.h"

namespace harumado::platform {
class ExcelSheet;
}

namespace harumado::columns {

class EmptiedCells {
 public:
  EmptiedCells(platform::ExcelSheet& sheet, std::int32_t column);
  // Gives back whatever is still out, so a failure in the middle of a column loses nothing.
  ~EmptiedCells();
  EmptiedCells(const EmptiedCells&) = delete;
  EmptiedCells& operator=(const EmptiedCells&) = delete;

  // Empties the cell (rows come in increasing order); it counts as emptied once the host has
  // taken the write.
  void Empty(std::int32_t row, SavedContent saved);
  // Gives every emptied cell its content back, in row order. A failing cell does not stop the
  // others; the first failure is thrown once all were tried.
  void GiveBackAll();

 private:
  platform::ExcelSheet& sheet_;
  std::int32_t column_;
  std::vector<std::pair<std::int32_t, SavedContent>> out_;
};

}  // namespace harumado::columns
