#pragma once
// The clipboard-viewer hook of the speech window.
#include <cstdint>

#include "platform/types.h"

namespace harumado::app {
class Program;
}

namespace harumado::readaloud {

void HookClipboardViewer(app::Program& program, platform::WindowHandle window);
void UnhookClipboardViewer(app::Program& program);
// The window procedure installed on the hooked window.
std::intptr_t ClipboardViewerProc(platform::WindowHandle window, std::uint32_t message,
                                  std::uintptr_t wparam, std::intptr_t lparam);

}  // namespace harumado::readaloud
