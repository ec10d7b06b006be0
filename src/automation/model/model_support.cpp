#include "automation/model/model_support.h"

#include <algorithm>
#include <tuple>

#include "runtime/automation_error.h"
#include "runtime/conversions.h"

namespace harumado::automation::model {
namespace {

constexpr std::int32_t kRows = 1048576;
constexpr std::int32_t kColumns = 16384;

wchar_t Upper(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - 32) : c; }

// One cell reference: optional $, letters, optional $, digits.
std::optional<std::pair<std::int32_t, std::int32_t>> ParseCell(std::wstring_view text) {
  std::size_t i = 0;
  if (i < text.size() && text[i] == L'$') ++i;
  std::int64_t column = 0;
  const std::size_t letters = i;
  while (i < text.size() && Upper(text[i]) >= L'A' && Upper(text[i]) <= L'Z') {
    column = column * 26 + (Upper(text[i]) - L'A' + 1);
    if (column > kColumns) return std::nullopt;
    ++i;
  }
  if (i == letters) return std::nullopt;
  if (i < text.size() && text[i] == L'$') ++i;
  std::int64_t row = 0;
  const std::size_t digits = i;
  while (i < text.size() && text[i] >= L'0' && text[i] <= L'9') {
    row = row * 10 + (text[i] - L'0');
    if (row > kRows) return std::nullopt;
    ++i;
  }
  if (i == digits || i != text.size() || row < 1) return std::nullopt;
  return std::make_pair(static_cast<std::int32_t>(row), static_cast<std::int32_t>(column));
}

}  // namespace

bool SameName(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Upper(a[i]) != Upper(b[i])) return false;
  }
  return true;
}

void NotSupported() { throw rt::AutomationError(kMemberNotSupported); }

void RequireCount(Arguments args, std::size_t n) {
  if (args.size() != n) throw rt::AutomationError(kWrongArgumentCount);
}

bool IsRead(CallKind kind, Arguments args) {
  if (kind != CallKind::kGet) return false;
  RequireCount(args, 0);
  return true;
}

bool IsWrite(CallKind kind, Arguments args) {
  if (kind != CallKind::kPut) return false;
  RequireCount(args, 1);
  return true;
}

bool IsMethod(CallKind kind) { return kind == CallKind::kGet || kind == CallKind::kMethod; }

const rt::Value& ValueArgument(Arguments args, std::size_t i) { return args[i].value(); }

double NumberArgument(Arguments args, std::size_t i) { return NumberOf(args[i]); }

std::int32_t LongArgument(Arguments args, std::size_t i) { return LongOf(args[i]); }

// Booleans as the runtime converts them: any non-zero number, or the texts True and False.
bool LogicalArgument(Arguments args, std::size_t i) {
  const rt::Value& v = ValueArgument(args, i);
  if (v.is_logical()) return v.logical();
  if (v.is_text()) {
    if (SameName(v.text(), L"True")) return true;
    if (SameName(v.text(), L"False")) return false;
  }
  return NumberOf(args[i]) != 0;
}

// A block's corners may be given in either order.
std::optional<Block> ParseAddress(std::wstring_view address) {
  const std::size_t colon = address.find(L':');
  const auto first = ParseCell(address.substr(0, colon));
  if (!first) return std::nullopt;
  const auto [first_row, first_column] = *first;
  auto [last_row, last_column] = *first;
  if (colon != std::wstring_view::npos) {
    const auto last = ParseCell(address.substr(colon + 1));
    if (!last) return std::nullopt;
    std::tie(last_row, last_column) = *last;
  }
  Block b;
  b.first_row = std::min(first_row, last_row);
  b.last_row = std::max(first_row, last_row);
  b.first_column = std::min(first_column, last_column);
  b.last_column = std::max(first_column, last_column);
  return b;
}

}  // namespace harumado::automation::model
