// Pictures of the three windows as artifacts, and every text they show checked against the
// font: no character may lack a glyph.
#include "core/ui/layouts.h"
#include "scenario_support.h"

namespace harumado::harness {
namespace {

constexpr wchar_t kFace[] = L"ＭＳ Ｐゴシック";

void ExpectGlyphs(const std::wstring& what, const std::wstring& text) {
  const std::wstring missing = MissingGlyphs(kFace, text);
  if (!missing.empty()) Fail(what + L" [" + text + L"] has every glyph", L"", missing);
}

void ExpectWindowGlyphs(HWND window, const std::wstring& window_name,
                        std::unique_ptr<ui::Window> layout) {
  ExpectGlyphs(window_name + L" caption", TextOf(window));
  for (const auto& c : layout->controls()) {
    if (c->kind() == ui::ControlKind::kTimer) continue;
    ExpectGlyphs(window_name + L"." + c->name(), TextOf(Control(window, window_name, c->name())));
  }
}

}  // namespace

void Screens(const std::wstring& program, const std::vector<std::wstring>&) {
  const std::wstring exe = PrepareProgram(L"screens", program, std::string("60,60,1,1,1\r\n"));
  RunningProgram p(exe);
  HWND main = StartMain(p);
  if (main == nullptr) return;
  Click(Main(main, L"Text3"));
  for (wchar_t ch : std::wstring(L"test")) TypeChar(Main(main, L"Text3"), ch);
  Click(Main(main, L"Command10"));
  Click(Main(main, L"Check3"));
  HWND usage = p.FindWindowByCaption(kUsageCaption);
  HWND speech = p.FindWindowByCaption(kSpeechCaption);
  Expect(usage != nullptr && ::IsWindowVisible(usage), L"usage window shown");
  Expect(speech != nullptr && ::IsWindowVisible(speech), L"speech window shown");
  // Every window is drawn (its own back colour at its corner) before the pictures are taken.
  Expect(WaitUntil(
             [&] {
               return Near(WindowBackColor(main), Color{192, 255, 192}, 8) &&
                      Near(WindowBackColor(speech), Color{192, 255, 192}, 8);
             },
             kFollowLimit),
         L"main and speech windows painted");
  p.Sync(main);
  SaveScreenShot(main, L"main-window");
  SaveScreenShot(speech, L"speech-window");
  SaveScreenShot(usage, L"usage-window");
  ExpectWindowGlyphs(main, L"Form1", ui::MakeMainWindowLayout());
  ExpectWindowGlyphs(speech, L"Form3", ui::MakeSpeechWindowLayout());
  // The texts that other states show.
  for (const wchar_t* text :
       {kTopmostMessage, kBottomMessage, kTopmostTip, kBottomTip, kIntegerMessage, kNumberMessage,
        kPictureMessage, kFitPictureMessage, kUsageMessage, kReadAloudMessage,
        L"     貼り付け     開始", L"列幅の自動調整", L"利用可能なWindowsは10/11です。", L"確認",
        L"数値画像□"}) {
    ExpectGlyphs(L"message", text);
  }
  CloseAndExpectEnd(p, main);
}

}  // namespace harumado::harness
