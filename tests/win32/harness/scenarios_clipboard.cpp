// The clipboard-viewer chain with the real program in it: a viewer of the harness that joined
// before the program keeps getting every change, through the program's hook while it runs and
// directly once it has left the chain.
#include "scenario_support.h"

namespace harumado::harness {

void ViewerChain(const std::wstring& program, const std::vector<std::wstring>&) {
  ViewerWindow viewer;
  const std::wstring exe = PrepareProgram(L"viewer-chain", program);
  RunningProgram p(exe);
  HWND main = StartMain(p);
  if (main == nullptr) return;
  HWND speech = p.FindWindowByCaption(kSpeechCaption);
  Expect(speech != nullptr && ::GetClipboardViewer() == speech,
         L"the speech window heads the viewer chain after start-up");

  const int before = viewer.notifications();
  Expect(CopyTextFromAnotherProcess(L"こんにちは"), L"another process copies text");
  Expect(viewer.WaitForNotifications(before + 1, std::chrono::seconds(5)),
         L"the copy reaches the viewer behind the program");
  Expect(CopyTextFromAnotherProcess(L"second copy"), L"another process copies again");
  Expect(viewer.WaitForNotifications(before + 2, std::chrono::seconds(5)),
         L"the second copy reaches the viewer behind the program");
  Expect(p.Sync(main), L"the program answers after the copies");

  // Read-aloud on and off re-creates the speech window, which joins the chain again.
  HWND check3 = Main(main, L"Check3");
  Click(check3);
  Click(check3);
  HWND recreated = p.FindWindowByCaption(kSpeechCaption);
  Expect(recreated != nullptr && ::GetClipboardViewer() == recreated,
         L"the re-created speech window heads the chain");
  const int after_rejoin = viewer.notifications();
  Expect(CopyTextFromAnotherProcess(L"third copy"), L"another process copies a third time");
  Expect(viewer.WaitForNotifications(after_rejoin + 1, std::chrono::seconds(5)),
         L"the chain still reaches the viewer after the speech window came back");

  CloseAndExpectEnd(p, main);
  Expect(::GetClipboardViewer() == viewer.hwnd(), L"the program left the chain on its end");
  const int after_end = viewer.notifications();
  Expect(CopyTextFromAnotherProcess(L"after the end"), L"another process copies after the end");
  Expect(viewer.WaitForNotifications(after_end + 1, std::chrono::seconds(5)),
         L"the viewer is still notified after the program ended");
}

}  // namespace harumado::harness
