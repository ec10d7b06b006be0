#include "core/columns/emptied_cells.h"

#include <optional>
#include <vector>

#include "platform/spreadsheet_host.h"
#include "runtime/automation_error.h"

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

void EmptiedCells::EmptyRun(std::int32_t first_row, std::vector<SavedContent> saved) {
  if (saved.empty()) return;
  const auto count = static_cast<std::int32_t>(saved.size());
  auto keep = [&] {
    for (std::int32_t i = 0; i < count; ++i) {
      out_.emplace_back(first_row + i, std::move(saved[static_cast<std::size_t>(i)]));
    }
  };
  try {
    if (count == 1) {
      sheet_.SetCell(first_row, column_, platform::CellProperty::kValue, rt::Value::Text(L""));
    } else {
      sheet_.EmptyColumnCells(column_, first_row, first_row + count - 1);
    }
  } catch (const rt::AutomationError&) {
    if (count > 1) keep();
    throw;
  }
  keep();
}

void EmptiedCells::Empty(std::int32_t row, SavedContent saved) {
  std::vector<SavedContent> one;
  one.push_back(std::move(saved));
  EmptyRun(row, std::move(one));
}

void EmptiedCells::GiveBackAll() {
  std::optional<rt::AutomationError> first;
  auto attempt = [&](auto&& write) {
    try {
      write();
    } catch (const rt::AutomationError& e) {
      if (!first) first = e;
    }
  };
  std::vector<GiveBackWrite> writes;
  writes.reserve(out_.size());
  for (const auto& [row, saved] : out_) writes.push_back(GiveBackFor(saved));

  std::vector<rt::Value> block;
  for (std::size_t begin = 0; begin < out_.size();) {
    const platform::CellProperty property = writes[begin].property;
    std::size_t end = begin + 1;
    while (end < out_.size() && out_[end].first == out_[end - 1].first + 1 &&
           writes[end].property == property) {
      ++end;
    }
    block.clear();
    for (std::size_t i = begin; i < end; ++i) block.push_back(writes[i].value);
    try {
      if (block.size() == 1) {
        sheet_.SetCell(out_[begin].first, column_, property, block.front());
      } else {
        sheet_.SetColumnCells(column_, out_[begin].first, property, block);
      }
    } catch (const rt::AutomationError& e) {
      if (!first) first = e;
      for (std::size_t i = begin; i < end && end - begin > 1; ++i) {
        attempt([&] { sheet_.SetCell(out_[i].first, column_, property, writes[i].value); });
      }
    }
    begin = end;
  }

  std::vector<std::size_t> texts;
  for (std::size_t i = 0; i < out_.size(); ++i) {
    if (out_[i].second.kind == SavedContent::Kind::kText) texts.push_back(i);
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
