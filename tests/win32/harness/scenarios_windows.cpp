// The three windows together: z-order, the usage window, the speech window, and how the side
// windows follow the main window.
#include <algorithm>

#include "scenario_support.h"
#include "stacking.h"

namespace harumado::harness {
namespace {

// The usage window shows the rendered page pixel for pixel: each pixel of its client area that
// lies on the screen is the picture's pixel at that place (the window, a pixel narrower than the
// picture, leaves out its last column).
void ExpectRenderedPage(HWND usage) {
  const std::wstring path = std::wstring(HARUMADO_RESOURCE_FOLDER) + L"/usage_page.png";
  const auto page = ReadPictureFile(path);
  if (!page) {
    Fail(L"the rendered usage page is read", path, L"not read");
    return;
  }
  const Rect client = ClientRectOnScreen(usage);
  const ScreenShot shot(client);
  const long screen_width = ::GetSystemMetrics(SM_CXSCREEN);
  const long screen_height = ::GetSystemMetrics(SM_CYSCREEN);
  long compared = 0;
  long differing = 0;
  std::wstring first;
  for (long y = 0; y < std::min(client.height(), page->height); ++y) {
    for (long x = 0; x < std::min(client.width(), page->width); ++x) {
      const long sx = client.left + x;
      const long sy = client.top + y;
      if (sx < 0 || sy < 0 || sx >= screen_width || sy >= screen_height) continue;
      ++compared;
      const Color want = page->At(x, y);
      const Color got = shot.At(sx, sy);
      if (want.r == got.r && want.g == got.g && want.b == got.b) continue;
      if (differing++ == 0) {
        first = L" first at " + std::to_wstring(x) + L"," + std::to_wstring(y) + L": " +
                ColorText(got) + L" for " + ColorText(want);
      }
    }
  }
  Expect(compared >= 500L * 700L,
         L"usage page compared over " + std::to_wstring(compared) + L" pixels on the screen");
  if (differing != 0) {
    Fail(L"usage page pixels as rendered", L"0 differing",
         std::to_wstring(differing) + L" differing" + first);
  }
}

}  // namespace

void ZOrder(const std::wstring& program, const std::vector<std::wstring>&) {
  const std::wstring exe = PrepareProgram(L"z-order", program);
  RunningProgram p(exe);
  HWND main = StartMain(p);
  if (main == nullptr) return;
  HWND check4 = Main(main, L"Check4");
  const struct {
    bool topmost;
    const wchar_t* tip;
    const wchar_t* message;
  } steps[] = {{false, kBottomTip, kBottomMessage}, {true, kTopmostTip, kTopmostMessage}};
  for (const auto& s : steps) {
    Click(check4);
    const std::wstring state = s.topmost ? L" (topmost)" : L" (not topmost)";
    ExpectInt(L"Check4" + state, s.topmost, Checked(check4));
    ExpectText(L"Check4 tooltip" + state, s.tip, TooltipOf(main, check4, p.pid()));
    ExpectText(L"Text2" + state, s.message, TextOf(Main(main, L"Text2")));
    ExpectInt(L"main window" + state, s.topmost, IsTopmost(main));
    ExpectInt(L"usage window" + state, s.topmost, IsTopmost(p.FindWindowByCaption(kUsageCaption)));
    ExpectInt(L"speech window" + state, s.topmost,
              IsTopmost(p.FindWindowByCaption(kSpeechCaption)));
    // The real stacking, with another program's window brought forward as a paste does.
    ExpectStackingWithForwardWindow(
        main, {p.FindWindowByCaption(kUsageCaption), p.FindWindowByCaption(kSpeechCaption)},
        s.topmost);
  }
  CloseAndExpectEnd(p, main);
}

// The usage window opens beside the main window, follows it, and closes again.
void UsageWindow(const std::wstring& program, const std::vector<std::wstring>&) {
  const std::wstring exe =
      PrepareProgram(L"usage-window", program, std::string("100,100,1,1,1\r\n"));
  RunningProgram p(exe);
  HWND main = StartMain(p);
  if (main == nullptr) return;
  HWND command10 = Main(main, L"Command10");
  Click(command10);
  HWND usage = p.FindWindowByCaption(kUsageCaption);
  if (!Expect(usage != nullptr && ::IsWindowVisible(usage), L"usage window shown")) return;
  ExpectText(L"Text2 with the usage window open", kUsageMessage, TextOf(Main(main, L"Text2")));
  Expect((Style(usage) & WS_CAPTION) == 0 && (Style(usage) & WS_POPUP) != 0,
         L"usage window without frame or title bar");
  Expect(IsTopmost(usage), L"usage window topmost");
  ExpectPlace(L"usage window beside the main window", usage, 370, 100, 537, 826);
  MoveTo(main, 160, 40);
  ExpectPlace(L"usage window follows the main window", usage, 430, 40, 537, 826);

  // The page: its title in dark blue at the top left, white paper, the green badge of the
  // example's start button.
  Expect(WaitUntil(
             [&] {
               ScreenShot shot(WindowRect(usage));
               const Rect r = WindowRect(usage);
               return shot.CountNear({r.left + 5, r.top + 8, r.left + 120, r.top + 36},
                                     Color{0, 48, 128}, 30) > 30 &&
                      Near(shot.At(r.left + 520, r.top + 140), Color{255, 255, 255}, 4);
             },
             kFollowLimit),
         L"usage page drawn");
  ExpectRenderedPage(usage);
  SaveScreenShot(usage, L"usage-window");

  Click(command10);
  Expect(WaitUntil([&] { return p.FindWindowByCaption(kUsageCaption) == nullptr; }, kFollowLimit),
         L"usage window closed by the second press");
  ExpectText(L"Text2 after closing the usage window", kIntegerMessage,
             TextOf(Main(main, L"Text2")));
  if (FocusedControl(main) != Main(main, L"Text3")) {
    Fail(L"focus in Text3 after the usage button", L"Text3",
         L"control " + std::to_wstring(::GetDlgCtrlID(FocusedControl(main))) + L" active " +
             TextOf(::GetActiveWindow()));
  }

  // Closing the main window with the usage window open ends both.
  Click(command10);
  Expect(WaitUntil(
             [&] {
               return (usage = p.FindWindowByCaption(kUsageCaption)) != nullptr &&
                      ::IsWindowVisible(usage);
             },
             kFollowLimit),
         L"usage window open again");
  CloseAndExpectEnd(p, main);
}

// Read-aloud shows the speech window under the main window; it follows the main window, and
// its close box unticks Check3.
void SpeechWindow(const std::wstring& program, const std::vector<std::wstring>&) {
  const std::wstring exe =
      PrepareProgram(L"speech-window", program, std::string("100,100,1,1,1\r\n"));
  RunningProgram p(exe);
  HWND main = StartMain(p);
  if (main == nullptr) return;
  HWND check3 = Main(main, L"Check3");
  Click(check3);
  Expect(Checked(check3), L"Check3 ticked");
  HWND speech = p.FindWindowByCaption(kSpeechCaption);
  if (!Expect(speech != nullptr && ::IsWindowVisible(speech), L"speech window shown")) return;
  ExpectText(L"Text2 with read-aloud on", kReadAloudMessage, TextOf(Main(main, L"Text2")));
  ExpectPlace(L"speech window under the main window", speech, 100, 225, 195, 93);
  MoveTo(main, 180, 60);
  ExpectPlace(L"speech window follows the main window", speech, 180, 185, 195, 93);
  ExpectText(L"voice button without a speech service", L"音声なし",
             TextOf(Speech(speech, L"Command1")));
  ExpectText(L"stop button", L"読み上げ中止", TextOf(Speech(speech, L"Command2")));
  Expect((Style(speech) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) == 0,
         L"speech window without min/max");

  // The sliders: speed -10..10 at 0, volume 0..100 at 100; arrows move them by 1.
  HWND speed = Speech(speech, L"HScroll1");
  HWND volume = Speech(speech, L"HScroll2");
  int low = 0, high = 0;
  ::GetScrollRange(speed, SB_CTL, &low, &high);
  ExpectInt(L"speed minimum", -10, low);
  ExpectInt(L"speed maximum", 10, high);
  ExpectInt(L"speed", 0, ::GetScrollPos(speed, SB_CTL));
  ::GetScrollRange(volume, SB_CTL, &low, &high);
  ExpectInt(L"volume maximum", 100, high);
  ExpectInt(L"volume", 100, ::GetScrollPos(volume, SB_CTL));
  ::SendMessageTimeoutW(speech, WM_HSCROLL, SB_LINERIGHT, reinterpret_cast<LPARAM>(speed),
                        SMTO_NORMAL, 5000, nullptr);
  ExpectInt(L"speed after one step right", 1, ::GetScrollPos(speed, SB_CTL));
  ::SendMessageTimeoutW(speech, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 40),
                        reinterpret_cast<LPARAM>(volume), SMTO_NORMAL, 5000, nullptr);
  ExpectInt(L"volume after dragging", 40, ::GetScrollPos(volume, SB_CTL));
  ::SendMessageTimeoutW(speech, WM_HSCROLL, SB_RIGHT, reinterpret_cast<LPARAM>(speed), SMTO_NORMAL,
                        5000, nullptr);
  ExpectInt(L"speed at its right end", 10, ::GetScrollPos(speed, SB_CTL));
  SaveScreenShot(speech, L"speech-window");

  // The close box unloads the window, which unticks Check3.
  RequestClose(speech);
  Expect(WaitUntil([&] { return !Checked(check3); }, kFollowLimit),
         L"Check3 unticked by the close box");
  HWND again = p.FindWindowByCaption(kSpeechCaption);
  Expect(again == nullptr || !::IsWindowVisible(again), L"speech window no longer shown");
  CloseAndExpectEnd(p, main);
}

}  // namespace harumado::harness
