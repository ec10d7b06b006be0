#pragma once
// Error policies of the program's procedures, as one small mechanism.
//
// Skip and go on: a step that fails is skipped, its error number is recorded, and the work goes
// on with the next step. A failing test counts as passed, so the steps it guards run. The
// recorded number stays until a step clears it or skip mode is left.
#include <cstdint>
#include <utility>

#include "runtime/automation_error.h"

namespace harumado::rt {

class SkipMode {
 public:
  template <class Step>
  void Run(Step&& step) {
    try {
      std::forward<Step>(step)();
    } catch (const AutomationError& e) {
      error_ = e.number();
    }
  }

  // Evaluates a condition; a failing evaluation records the error and counts as true.
  template <class Condition>
  bool Test(Condition&& condition) {
    try {
      return std::forward<Condition>(condition)();
    } catch (const AutomationError& e) {
      error_ = e.number();
      return true;
    }
  }

  // Reads a value; a failing read records the error and leaves `target` as it was.
  template <class T, class Read>
  void Assign(T& target, Read&& read) {
    try {
      target = std::forward<Read>(read)();
    } catch (const AutomationError& e) {
      error_ = e.number();
    }
  }

  std::int32_t error() const { return error_; }
  void set_error(std::int32_t number) { error_ = number; }
  void clear() { error_ = 0; }

 private:
  std::int32_t error_ = 0;
};

}  // namespace harumado::rt
