#include "core/columns/emptied_cells.h"

#include <optional>

#include "core/runtime/automation_error.h"
#include "platform/spreadsheet_host.h"

namespace harumado::columns {

EmptiedCells::EmptiedCells(platform::ExcelSheet& sheet, std::int32_t column)
    : sheet_(sheet), column_(column) {}

// Runs while a failure of the column is on its way to the report: the cells get their content
// back first. Failures here are not reported again.
EmptiedCells::~EmptiedCells() {
  if (out_.empty()) return;
  try {
    GiveBackAll();
  } catch (const rt::AutomationError&) {
    // The failure that ended the column is the one reported.
  }
}

void EmptiedCells::Empty(std::int32_t row, SavedContent saved) {
  sheet_.SetCell(row, column_, platform::CellProperty::kValue, rt::Value::Text(L""));
  out_.emplace_back(row, std::move(saved));
}

void EmptiedCells::GiveBackAll() {
  std::optional<rt::AutomationError> first;
  for (const auto& [row, saved] : out_) {
    try {
      GiveBack(sheet_, row, column_, saved);
    } catch (const rt::AutomationError& e) {
      if (!first) first = e;
    }
  }
  out_.clear();
  if (first) throw *first;
}

}  // namespace harumado::columns
