// The program at high DPI: the layout's twips become pixels at the DPI the program sees, and the
// program's own placement figures scale with it.
#include <algorithm>
#include <memory>

#include "core/ui/layouts.h"
#include "scenario_support.h"

namespace harumado::harness {
namespace {

// Sets the system DPI for programs started from now on, and puts 96 back at the end.
class SystemDpi {
 public:
  explicit SystemDpi(DWORD dpi) { Set(dpi); }
  ~SystemDpi() { Set(96); }
  SystemDpi(const SystemDpi&) = delete;
  SystemDpi& operator=(const SystemDpi&) = delete;

 private:
  static void Set(DWORD dpi) {
    const struct {
      HKEY root;
      const wchar_t* path;
    } keys[] = {{HKEY_CURRENT_CONFIG, L"Software\\Fonts"},
                {HKEY_CURRENT_USER, L"Control Panel\\Desktop"}};
    for (const auto& k : keys) {
      HKEY key = nullptr;
      if (::RegCreateKeyExW(k.root, k.path, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) ==
          ERROR_SUCCESS) {
        ::RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                         sizeof dpi);
        ::RegCloseKey(key);
      }
    }
  }
};

int Scaled(int pixels, int dpi) { return ::MulDiv(pixels, dpi, 96); }
int Twips(int twips, int dpi) { return ::MulDiv(twips, dpi, 1440); }

std::wstring Size(long width, long height) {
  return std::to_wstring(width) + L"x" + std::to_wstring(height);
}

// Every control of the window's layout that the layout puts inside the client area (not the
// ones it puts below it on purpose) lies inside the window's real client area. A control that
// the layout lets run a little past the client area's right or bottom edge (the mode check box
// by 30 twips, the usage picture by 15, the slider labels by 5) is held to the part of it that
// lies inside the layout's client area.
void ExpectControlsInside(HWND window, const std::wstring& window_name, const ui::Window& layout,
                          int dpi) {
  const Rect client = ClientRectOnScreen(window);
  const long layout_width = Twips(layout.spec().client_width, dpi);
  const long layout_height = Twips(layout.spec().client_height, dpi);
  Note(window_name + L" at " + std::to_wstring(dpi) + L" dpi: outer " + Where(window) +
       L", client " + Size(client.width(), client.height()) + L", layout's client " +
       Size(layout_width, layout_height));
  for (const auto& c : layout.controls()) {
    if (c->kind() == ui::ControlKind::kTimer) continue;
    const ui::TwipsRect& t = c->spec().rect;
    if (t.top >= layout.spec().client_height || t.left >= layout.spec().client_width) continue;
    const Rect r = WindowRect(Control(window, window_name, c->name()));
    const long left = r.left - client.left;
    const long top = r.top - client.top;
    const long right = std::min(r.right - client.left, layout_width);
    const long bottom = std::min(r.bottom - client.top, layout_height);
    const bool inside =
        left >= 0 && top >= 0 && right <= client.width() && bottom <= client.height();
    if (!inside) {
      Fail(window_name + L"." + c->name() + L" inside the client area at " + std::to_wstring(dpi) +
               L" dpi",
           L"within 0,0 " + Size(client.width(), client.height()),
           std::to_wstring(left) + L"," + std::to_wstring(top) + L" to " + std::to_wstring(right) +
               L"," + std::to_wstring(bottom));
    }
  }
}

}  // namespace

// Start-up with restored settings at 120, 144 and 192 dpi: the main window has 268 x 123 at the
// scale, the side windows stand and follow beside it with their figures at the scale and cover
// none of it, and every control that belongs inside its window's client area is inside it.
void HighDpiRestored(const std::wstring& program, const std::vector<std::wstring>&) {
  const std::unique_ptr<ui::Window> layouts[] = {
      ui::MakeMainWindowLayout(), ui::MakeUsageWindowLayout(), ui::MakeSpeechWindowLayout()};
  for (const int d : {120, 144, 192}) {
    SystemDpi dpi(static_cast<DWORD>(d));
    const std::wstring at = L" at " + std::to_wstring(d) + L" dpi";
    const std::wstring exe =
        PrepareProgram(L"high-dpi-restored", program, std::string("10,10,1,1,1\r\n"));
    RunningProgram p(exe);
    HWND main = StartMain(p);
    if (main == nullptr) return;
    ExpectPlace(L"restored main window" + at, main, 10, 10, Scaled(268, d), Scaled(123, d));

    Click(Main(main, L"Check3"));
    HWND speech = p.FindWindowByCaption(kSpeechCaption);
    if (!Expect(speech != nullptr && ::IsWindowVisible(speech), L"speech window shown" + at)) {
      CloseAndExpectEnd(p, main);
      return;
    }
    Click(Main(main, L"Command10"));
    HWND usage = p.FindWindowByCaption(kUsageCaption);
    if (!Expect(usage != nullptr && ::IsWindowVisible(usage), L"usage window shown" + at)) {
      CloseAndExpectEnd(p, main);
      return;
    }
    ExpectPlace(L"usage window beside the main window" + at, usage, 10 + Scaled(270, d), 10,
                Scaled(537, d), Scaled(826, d));
    ExpectPlace(L"speech window under the main window" + at, speech, 10, 10 + Scaled(125, d),
                Scaled(195, d), Scaled(93, d));
    const Rect m = WindowRect(main);
    Expect(WindowRect(usage).left >= m.right, L"the usage window covers none of the main" + at);
    Expect(WindowRect(speech).top >= m.bottom, L"the speech window covers none of the main" + at);

    ExpectControlsInside(main, L"Form1", *layouts[0], d);
    ExpectControlsInside(usage, L"Form2", *layouts[1], d);
    ExpectControlsInside(speech, L"Form3", *layouts[2], d);
    // The pictures are taken once each window shows its own paint: the light green ground of
    // the main and speech windows, the page's dark blue title in the usage window.
    const Color light_green{192, 255, 192};
    for (HWND w : {main, speech}) {
      Expect(WaitUntil([&] { return Near(WindowBackColor(w), light_green, 8); }, kFollowLimit),
             TextOf(w) + L" painted" + at);
    }
    Expect(WaitUntil(
               [&] {
                 const Rect r = WindowRect(usage);
                 const Rect title{r.left + Scaled(5, d), r.top + Scaled(8, d),
                                  r.left + Scaled(120, d), r.top + Scaled(36, d)};
                 return ScreenShot(title).CountNear(title, Color{0, 48, 128}, 30) > 30;
               },
               kFollowLimit),
           L"usage page drawn" + at);
    const std::wstring suffix = L"-" + std::to_wstring(d) + L"dpi-restored";
    SaveScreenShot(main, L"main-window" + suffix);
    SaveScreenShot(usage, L"usage-window" + suffix);
    SaveScreenShot(speech, L"speech-window" + suffix);

    // Dragged, the main window takes both side windows along at the scale.
    MoveTo(main, 40, 30);
    ExpectPlace(L"usage window follows" + at, usage, 40 + Scaled(270, d), 30, Scaled(537, d),
                Scaled(826, d));
    ExpectPlace(L"speech window follows" + at, speech, 40, 30 + Scaled(125, d), Scaled(195, d),
                Scaled(93, d));
    CloseAndExpectEnd(p, main);
  }
}

void HighDpi(const std::wstring& program, const std::vector<std::wstring>&) {
  SystemDpi dpi(144);
  const std::wstring exe = PrepareProgram(L"high-dpi", program);
  RunningProgram p(exe);
  HWND main = StartMain(p);
  if (main == nullptr) return;
  // 12465, 3495 and 3915 x 1395 twips at 144 DPI; each edge is rounded on its own.
  const Rect client = ClientRectOnScreen(main);
  ExpectInt(L"client left at 144 DPI", 1247, client.left);
  ExpectInt(L"client top at 144 DPI", 350, client.top);
  ExpectInt(L"client width at 144 DPI", 392, client.width());
  ExpectInt(L"client height at 144 DPI", 140, client.height());
  MoveTo(main, 20, 20);
  p.Sync(main);
  const struct {
    const wchar_t* control;
    Rect twips;
  } controls[] = {{L"Text3", {1480, 70, 2935, 355}},
                  {L"Command5", {1800, 960, 2900, 1360}},
                  {L"Text2", {50, 400, 3905, 920}}};
  const Rect moved = ClientRectOnScreen(main);
  for (const auto& c : controls) {
    const Rect r = WindowRect(Main(main, c.control));
    const std::wstring name = c.control;
    ExpectInt(name + L" left", ::MulDiv(c.twips.left, 144, 1440), r.left - moved.left);
    ExpectInt(name + L" top", ::MulDiv(c.twips.top, 144, 1440), r.top - moved.top);
    ExpectInt(name + L" right", ::MulDiv(c.twips.right, 144, 1440), r.right - moved.left);
    ExpectInt(name + L" bottom", ::MulDiv(c.twips.bottom, 144, 1440), r.bottom - moved.top);
  }
  // The message's letters are drawn with the 9-point font at 144 DPI (18 pixels; at 96 DPI
  // they span 12). The picture is taken again until the text stands whole.
  HWND text2 = Main(main, L"Text2");
  long height = 0;
  auto letters_height = [&] {
    const Rect area = ClientRectOnScreen(text2);
    ScreenShot shot(area);
    long first = -1, last = -1;
    for (long y = area.top; y < area.bottom; ++y) {
      if (shot.CountNear({area.left, y, area.right, y + 1}, Color{0, 0, 255}, 60) > 0) {
        if (first < 0) first = y;
        last = y;
      }
    }
    return first < 0 ? 0 : last - first + 1;
  };
  WaitUntil([&] { return (height = letters_height()) >= 15; }, kFollowLimit);
  Expect(height >= 15, L"Text2 letters " + std::to_wstring(height) + L" pixels high");
  SaveScreenShot(main, L"main-window-144dpi");
  CloseAndExpectEnd(p, main);
}

}  // namespace harumado::harness
