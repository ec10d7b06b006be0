#include "runtime/offset_argument.h"

#include "runtime/automation_error.h"
#include "runtime/conversions.h"

namespace harumado::rt {

std::int64_t OffsetArgument(const Value& offset) {
  switch (offset.kind()) {
    case Value::Kind::kEmpty:
      return 0;
    case Value::Kind::kNumber:
      return ToInt32(offset.number());
    case Value::Kind::kText:
      return ToInt32(offset.text());
    case Value::Kind::kLogical:
      return offset.logical() ? -1 : 0;
    default:
      throw AutomationError(err::kTypeMismatch);
  }
}

}  // namespace harumado::rt
