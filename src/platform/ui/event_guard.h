#pragma once
// How a native view runs the program's handler of a user's event.
#include <functional>

#include "runtime/automation_error.h"

namespace harumado::ui {

// An automation error that no handler caught ends the event it came from; the program goes on
// with the next event.
inline void RunEventHandler(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const rt::AutomationError&) {
  }
}

}  // namespace harumado::ui
