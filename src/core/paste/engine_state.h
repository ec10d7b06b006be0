#pragma once
#include <cstdint>
#include <functional>

namespace harumado::paste {

// What the paste loops do, as those who watch the program see it (its tests wait for it rather
// than for time to pass): the loops running now (a stop press dispatched inside a loop runs one
// of its own), the cycles they have ended, each one a look at the clipboard and what came of
// it, and of those the cycles that pasted a change and moved the cursor after it. `changed` is
// told after every change of these; it must not throw.
struct LoopActivity {
  std::int32_t loops_running = 0;
  std::int64_t cycles_done = 0;
  std::int64_t changes_pasted = 0;
  std::function<void()> changed;
};

// State of the paste engine that lives for the whole program run.
struct EngineState {
  std::int32_t PictureFailed = 0;  // the last picture paste failed
  std::int32_t YenMarkFound = 0;   // the last pasted text showed a yen mark
  LoopActivity activity;
};

}  // namespace harumado::paste
