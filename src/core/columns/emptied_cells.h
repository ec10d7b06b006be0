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

  // Empties the run of cells from first_row down, one cell per saved content, with one call (runs
  // come in increasing row order; a run of one cell is a cell write). The run counts as emptied
  // once the host has taken the write; a run of several cells also when the write failed, as the
  // host may have emptied part of it (giving back a content that is still there changes nothing).
  void EmptyRun(std::int32_t first_row, std::vector<SavedContent> saved);
  // The run of one cell.
  void Empty(std::int32_t row, SavedContent saved);
  // Gives every emptied cell its content back: each run of neighbouring cells whose writes go to
  // the same property with one block write (cell by cell when that write fails), then the texts
  // are read back in one call and the few that the host took for something else are written again
  // so that they stay texts (each of them, when that read fails). A failing write does not stop
  // the others; the first failure is thrown once all were tried.
  void GiveBackAll();

 private:
  platform::ExcelSheet& sheet_;
  std::int32_t column_;
  std::vector<std::pair<std::int32_t, SavedContent>> out_;
};

}  // namespace harumado::columns
