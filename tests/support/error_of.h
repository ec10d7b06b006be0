#pragma once
// What the tests share: the number of the automation error that a call raises.
#include <cstdint>

#include "runtime/automation_error.h"

namespace harumado::test_support {

// The automation error number that call raises, or 0 when it returns without one.
template <typename F>
std::int32_t ErrorOf(F&& call) {
  try {
    call();
  } catch (const rt::AutomationError& e) {
    return e.number();
  }
  return 0;
}

}  // namespace harumado::test_support
