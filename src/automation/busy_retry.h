#pragma once
// When a call that the server turned away is tried again: the answer of the client's busy
// policy to one rejection.
#include <cstdint>
#include <optional>

namespace harumado::automation {

inline constexpr int kBusyRetryWaitMs = 100;

// elapsed_ms since the call was first made; server_busy when the server asked to be called
// again later (as opposed to refusing the call). The wait before the next try, or nothing to
// give up: the call then fails with 0x80010001.
std::optional<int> BusyRetryWait(std::uint32_t elapsed_ms, bool server_busy, int timeout_ms);

}  // namespace harumado::automation
