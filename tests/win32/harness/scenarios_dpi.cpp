// The layout at 144 DPI: twips become pixels at the DPI the program sees.
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

}  // namespace

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
