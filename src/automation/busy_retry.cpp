#include "automation/busy_retry.h"

namespace harumado::automation {

// A busy server is tried again every 100 ms as long as the next try falls within the timeout;
// a server that refuses the call outright is not tried again.
std::optional<int> BusyRetryWait(std::uint32_t elapsed_ms, bool server_busy, int timeout_ms) {
  if (!server_busy || timeout_ms <= 0) return std::nullopt;
  if (static_cast<std::uint64_t>(elapsed_ms) + kBusyRetryWaitMs >
      static_cast<std::uint64_t>(timeout_ms)) {
    return std::nullopt;
  }
  return kBusyRetryWaitMs;
}

}  // namespace harumado::automation
