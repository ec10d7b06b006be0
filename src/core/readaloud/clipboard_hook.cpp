// The clipboard-viewer hook. (Not built yet.)
#include "core/readaloud/module3.h"

namespace harumado::readaloud {

void HookClipboardViewer(app::Program&, platform::WindowHandle) {}
void UnhookClipboardViewer(app::Program&) {}
std::intptr_t ClipboardViewerProc(platform::WindowHandle, std::uint32_t, std::uintptr_t,
                                  std::intptr_t) {
  return 0;
}

}  // namespace harumado::readaloud
