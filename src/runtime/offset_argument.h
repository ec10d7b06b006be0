#pragma once
// An offset argument of Range.Offset as the spreadsheet takes it.
#include <cstdint>

#include "runtime/value.h"

namespace harumado::rt {

// A number, or a text that reads as one (a half goes to the even neighbour, as the automation
// layer converts it to a whole number); empty is 0, True is -1. Anything else: error 13.
std::int64_t OffsetArgument(const Value& offset);

}  // namespace harumado::rt
