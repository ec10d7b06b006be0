#include "core/columns/emptied_cells.h"

#include <optional>
#include <vector>

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

// Every cell gets one write; then the texts that went through Formula are read back in one call,
// and the few that the host took for something else are written again so that they stay texts.
// When that read fails, each of them is written so anyway.
void EmptiedCells::GiveBackAll() {
  std::optional<rt::AutomationError> first;
  auto attempt = [&](auto&& write) {
    try {
      write();
    } catch (const rt::AutomationError& e) {
      if (!first) first = e;
    }
  };
  std::vector<std::size_t> texts;
  for (std::size_t i = 0; i < out_.size(); ++i) {
    attempt([&] {
      if (GiveBack(sheet_, out_[i].first, column_, out_[i].second)) texts.push_back(i);
    });
  }
  if (!texts.empty()) {
    const std::int32_t first_row = out_[texts.front()].first;
    const std::int32_t last_row = out_[texts.back()].first;
    std::vector<rt::Value> back;
    attempt([&] {
      back = sheet_.GetColumnCells(column_, first_row, last_row, platform::CellProperty::kValue);
    });
    const bool read = back.size() == static_cast<std::size_t>(last_row - first_row + 1);
    for (std::size_t i : texts) {
      // Named members, not a structured binding: clang 14 cannot capture a binding in a lambda.
      const std::int32_t row = out_[i].first;
      const auto& saved = out_[i].second;
      if (read && KeptAsText(back[static_cast<std::size_t>(row - first_row)], saved)) continue;
      attempt([&] { PutText(sheet_, row, column_, saved); });
    }
  }
  out_.clear();
  if (first) throw *first;
}

}  // namespace harumado::columns
