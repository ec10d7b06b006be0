#include "sim/scenario/progress_watch.h"

#include <gtest/gtest.h>

namespace harumado::sim::scenario {
namespace {

// Reaches the same point with the same mark n times; true when the watch called it stuck.
bool ReachTimes(ProgressWatch& watch, const ProgressMark& mark, int n) {
  bool stuck = false;
  for (int i = 0; i < n; ++i) stuck = watch.Stuck(mark);
  return stuck;
}

TEST(ProgressWatch, TheSamePointOverAndOverIsStuck) {
  ProgressWatch watch;
  EXPECT_FALSE(ReachTimes(watch, {3, 7, 500}, ProgressWatch::kLimit));
  EXPECT_TRUE(watch.Stuck({3, 7, 500}));
}

// Any one kind of progress starts the count again.
TEST(ProgressWatch, ProgressOfAnyKindStartsTheCountAgain) {
  const ProgressMark start{3, 7, 500};
  const ProgressMark moved[] = {{4, 7, 500}, {3, 8, 500}, {3, 7, 501}};
  for (const ProgressMark& next : moved) {
    ProgressWatch watch;
    EXPECT_FALSE(ReachTimes(watch, start, ProgressWatch::kLimit));
    EXPECT_FALSE(watch.Stuck(next));
    EXPECT_FALSE(ReachTimes(watch, next, ProgressWatch::kLimit - 1));
    EXPECT_TRUE(watch.Stuck(next));
  }
}

// A program that works moves on at every point: it is never stuck, however long it runs.
TEST(ProgressWatch, AClockThatMovesIsNeverStuck) {
  ProgressWatch watch;
  for (int t = 0; t < 3 * ProgressWatch::kLimit; ++t) {
    ASSERT_FALSE(watch.Stuck({0, 0, t / 2}));
  }
}

}  // namespace
}  // namespace harumado::sim::scenario
