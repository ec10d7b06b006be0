#pragma once
#include <cstdint>

namespace harumado::paste {

// State of the paste engine that lives for the whole program run.
struct EngineState {
  std::int32_t PictureFailed = 0;  // the last picture paste failed
  std::int32_t YenMarkFound = 0;   // the last pasted text showed a yen mark
};

}  // namespace harumado::paste
