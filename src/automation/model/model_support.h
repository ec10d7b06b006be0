#pragma once
// What the object model's classes share: member names, argument checks, A1 addresses.
#include <cstdint>
#include <optional>
#include <string_view>

#include "automation/dispatch.h"

namespace harumado::automation::model {

inline constexpr std::int32_t kMemberNotSupported = 438;
inline constexpr std::int32_t kWrongArgumentCount = 450;

// Member names compare without regard to ASCII case.
bool SameName(std::wstring_view a, std::wstring_view b);

[[noreturn]] void NotSupported();
// Fails with 450 unless there are exactly n arguments.
void RequireCount(Arguments args, std::size_t n);
// A property read with no arguments.
bool IsRead(CallKind kind, Arguments args);
// A property write: one argument, the value.
bool IsWrite(CallKind kind, Arguments args);
// A method call (as a statement or with its result used).
bool IsMethod(CallKind kind);

std::int32_t LongArgument(Arguments args, std::size_t i);
double NumberArgument(Arguments args, std::size_t i);
bool LogicalArgument(Arguments args, std::size_t i);
const rt::Value& ValueArgument(Arguments args, std::size_t i);

// A cell block given by an A1 address ("B3", "A1:A10", "$C$2:$C$9"); case does not matter.
struct Block {
  std::int32_t first_row = 0;
  std::int32_t first_column = 0;
  std::int32_t last_row = 0;
  std::int32_t last_column = 0;
};
std::optional<Block> ParseAddress(std::wstring_view address);

}  // namespace harumado::automation::model
