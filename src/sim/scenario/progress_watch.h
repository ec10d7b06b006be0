#pragma once
// Tells a run that makes no progress: the program comes back to its points again and again while
// no statement is taken, no event is dispatched and the clock does not move.
#include <cstddef>
#include <cstdint>

namespace harumado::sim::scenario {

// What the runner has done so far; a point reached with the same mark as the one before it made
// no progress.
struct ProgressMark {
  std::size_t statements_taken = 0;
  std::uint64_t events_dispatched = 0;
  std::int64_t clock = 0;
  bool operator==(const ProgressMark&) const = default;
};

class ProgressWatch {
 public:
  // Points in a row without progress after which the run counts as stuck. A program that works
  // reaches a few points at one moment (a dispatch, a retry); one that spins reaches them forever.
  static constexpr int kLimit = 10000;

  // Called at every point; true once kLimit points in a row have brought no progress.
  bool Stuck(const ProgressMark& mark) {
    if (seen_ && mark == last_) {
      ++still_;
    } else {
      still_ = 0;
    }
    seen_ = true;
    last_ = mark;
    return still_ >= kLimit;
  }

 private:
  bool seen_ = false;
  ProgressMark last_;
  int still_ = 0;
};

}  // namespace harumado::sim::scenario
