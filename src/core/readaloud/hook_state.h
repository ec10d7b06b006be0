#pragma once
#include <cstdint>

#include "platform/types.h"

namespace harumado::readaloud {

// The clipboard hook's variables, one set for the whole process.
struct HookState {
  platform::WindowHandle NextViewer = 0;
  std::uintptr_t OldWndProc = 0;  // non-zero exactly while the hook is installed
  platform::WindowHandle HookedWnd = 0;
  // The next viewer when the last message passed on to it was not answered in time; 0 otherwise.
  platform::WindowHandle HungViewer = 0;
};

}  // namespace harumado::readaloud
