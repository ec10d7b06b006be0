#include "calc/view_cursor.h"

#include <vector>

namespace harumado::calc {
namespace {

std::vector<std::wstring_view> Split(std::wstring_view s, std::wstring_view separators) {
  std::vector<std::wstring_view> parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t at = s.find_first_of(separators, start);
    parts.push_back(
        s.substr(start, at == std::wstring_view::npos ? std::wstring_view::npos : at - start));
    if (at == std::wstring_view::npos) return parts;
    start = at + 1;
  }
}

std::optional<std::int32_t> Number(std::wstring_view s) {
  if (s.empty() || s.size() > 9) return std::nullopt;
  std::int32_t n = 0;
  for (wchar_t c : s) {
    if (c < L'0' || c > L'9') return std::nullopt;
    n = n * 10 + (c - L'0');
  }
  return n;
}

}  // namespace

std::optional<CellPosition> CursorOfViewData(std::wstring_view data) {
  const auto fields = Split(data, L";");
  if (fields.size() < 3) return std::nullopt;
  const auto sheet = Number(fields[1]);
  if (!sheet) return std::nullopt;
  const std::size_t first_sheet = fields[2].substr(0, 3) == L"tw:" ? 3 : 2;
  const std::size_t at = first_sheet + static_cast<std::size_t>(*sheet);
  if (at >= fields.size()) return std::nullopt;
  const auto numbers = Split(fields[at], L"/+");
  if (numbers.size() < 2) return std::nullopt;
  const auto column = Number(numbers[0]);
  const auto row = Number(numbers[1]);
  if (!column || !row) return std::nullopt;
  return CellPosition{*column, *row};
}

}  // namespace harumado::calc
