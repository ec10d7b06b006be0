#include "automation/busy_retry.h"

#include <gtest/gtest.h>

namespace harumado::automation {
namespace {

TEST(BusyRetryTest, ABusyServerIsTriedAgainWithinTheTimeout) {
  struct Case {
    std::uint32_t elapsed;
    bool busy;
    int timeout;
    std::optional<int> wait;
  };
  const Case cases[] = {
      {0, true, 1000, 100},
      {850, true, 1000, 100},
      {900, true, 1000, 100},
      {901, true, 1000, std::nullopt},
      {1000, true, 1000, std::nullopt},
      {5000, true, 1000, std::nullopt},
      {0, false, 1000, std::nullopt},  // refused outright
      {0, true, 0, std::nullopt},      // no busy policy set
      {0xFFFFFFFFu, true, 1000, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(BusyRetryWait(c.elapsed, c.busy, c.timeout), c.wait)
        << c.elapsed << " " << c.busy << " " << c.timeout;
  }
}

// Tried every 100 ms from the start, the last try comes at 1000 ms at the latest.
TEST(BusyRetryTest, TheTriesOfOneSecond) {
  std::uint32_t elapsed = 0;
  int tries = 1;
  while (const auto wait = BusyRetryWait(elapsed, true, 1000)) {
    elapsed += static_cast<std::uint32_t>(*wait);
    ++tries;
  }
  EXPECT_EQ(elapsed, 1000u);
  EXPECT_EQ(tries, 11);
}

}  // namespace
}  // namespace harumado::automation
