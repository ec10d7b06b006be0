#include "stacking.h"

#include <vector>

#include "scenario_support.h"

namespace harumado::harness {
namespace {

constexpr wchar_t kPlainClass[] = L"HarumadoHarnessPlain";
constexpr wchar_t kPlainProcessCaption[] = L"harness plain window";
constexpr COLORREF kTopmostColour = RGB(220, 0, 0);
constexpr COLORREF kPlainColour = RGB(0, 0, 220);

std::vector<HWND> WindowList() {
  std::vector<HWND> list;
  ::EnumWindows(
      [](HWND hwnd, LPARAM out) {
        reinterpret_cast<std::vector<HWND>*>(out)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&list));
  return list;
}

long IndexIn(const std::vector<HWND>& list, HWND hwnd) {
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (list[i] == hwnd) return static_cast<long>(i);
  }
  return -1;
}

// The harness's own windows paint only when their messages are taken.
void TakeMessages() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

// The colour at the point once the screen has settled: the same in 25 samples in a row (the X
// server restacks windows after wine has changed its list), at most 3 s.
Color SettledColour(long x, long y) {
  Color last;
  int same = 0;
  WaitUntil(
      [&] {
        TakeMessages();
        const Color now = ScreenShot(Rect{x, y, x + 1, y + 1}).At(x, y);
        same = Near(now, last, 8) ? same + 1 : 0;
        last = now;
        return same >= 25;
      },
      std::chrono::seconds(3));
  return last;
}

Color ColourOf(COLORREF c) { return Color{GetRValue(c), GetGValue(c), GetBValue(c)}; }

void RegisterPlainClass() {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kPlainClass;
    return ::RegisterClassExW(&wc) != 0;
  }();
  (void)registered;
}

// The background of each plain window is the brush kept in its window data.
LRESULT CALLBACK PlainProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_ERASEBKGND) {
    RECT r;
    ::GetClientRect(hwnd, &r);
    ::FillRect(reinterpret_cast<HDC>(wparam), &r,
               reinterpret_cast<HBRUSH>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA)));
    return 1;
  }
  return ::DefWindowProcW(hwnd, message, wparam, lparam);
}

HWND MakePlain(const Rect& place, HBRUSH brush, DWORD ex_style, const wchar_t* caption) {
  RegisterPlainClass();
  HWND hwnd = ::CreateWindowExW(ex_style, kPlainClass, caption, WS_POPUP | WS_BORDER, place.left,
                                place.top, place.width(), place.height(), nullptr, nullptr,
                                ::GetModuleHandleW(nullptr), nullptr);
  if (hwnd == nullptr) return nullptr;
  ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(brush));
  ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PlainProc));
  ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
  ::UpdateWindow(hwnd);
  TakeMessages();
  return hwnd;
}

}  // namespace

bool StackedInFront(HWND upper, HWND lower) {
  bool by_next = false;
  for (HWND w = ::GetWindow(upper, GW_HWNDNEXT); w != nullptr; w = ::GetWindow(w, GW_HWNDNEXT)) {
    if (w == lower) {
      by_next = true;
      break;
    }
  }
  const std::vector<HWND> list = WindowList();
  const long upper_at = IndexIn(list, upper);
  const long lower_at = IndexIn(list, lower);
  const bool by_list = upper_at >= 0 && lower_at >= 0 && upper_at < lower_at;
  Expect(by_next == by_list, L"the window list and GW_HWNDNEXT agree on the stacking");
  return by_next;
}

PlainWindow::PlainWindow(const Rect& place, COLORREF colour)
    : brush_(::CreateSolidBrush(colour)),
      window_(MakePlain(place, brush_.get(), 0, L"harness window")) {}

void PlainWindow::BringForward() {
  ::SetForegroundWindow(window_.get());
  TakeMessages();
}

std::wstring DrawnOnTop(HWND first, COLORREF first_colour, HWND second, COLORREF second_colour,
                        long x, long y) {
  const Color seen = SettledColour(x, y);
  if (Near(seen, ColourOf(first_colour), 8))
    return L"the screen shows " + TextOf(first) + L" on top";
  if (Near(seen, ColourOf(second_colour), 8)) {
    return L"the screen shows " + TextOf(second) + L" on top";
  }
  return L"the screen shows neither window at the shared point (" + ColorText(seen) + L")";
}

void ExpectStackingWithForwardWindow(HWND main, const std::vector<HWND>& side_windows,
                                     bool topmost) {
  const std::wstring state = topmost ? L" (topmost)" : L" (not topmost)";
  const Rect place = WindowRect(main);
  PlainWindow forward(Rect{place.left + 20, place.top + 20, place.right + 200, place.bottom + 200},
                      kPlainColour);
  if (!Expect(forward.hwnd() != nullptr, L"the other program's window" + state)) return;
  forward.BringForward();
  Expect(!IsTopmost(forward.hwnd()), L"the window brought forward is not topmost" + state);
  ExpectInt(L"main window in front of the window brought forward" + state, topmost,
            StackedInFront(main, forward.hwnd()));
  for (HWND side : side_windows) {
    if (side == nullptr) continue;
    ExpectInt(L"side window " + TextOf(side) + L" in front of the window brought forward" + state,
              topmost, StackedInFront(side, forward.hwnd()));
  }
  // What wine draws: its X11 driver without a window manager raises the activated window on
  // the screen whatever the window list says (harumado-harness stacking-probe shows it).
  const long outside_x = place.right + 100;
  const long outside_y = place.bottom + 100;
  const bool painted = WaitUntil(
      [&] {
        TakeMessages();
        return Near(ScreenShot(Rect{outside_x, outside_y, outside_x + 1, outside_y + 1})
                        .At(outside_x, outside_y),
                    ColourOf(kPlainColour), 8);
      },
      std::chrono::seconds(3));
  Expect(painted, L"the window brought forward is drawn" + state);
  const long x = place.left + 60;
  const long y = place.top + 60;
  const Color seen = SettledColour(x, y);
  Note(L"z-order" + state + L": where the two overlap the screen shows " +
       (Near(seen, ColourOf(kPlainColour), 8) ? std::wstring(L"the window brought forward")
                                              : L"the main window (" + ColorText(seen) + L")") +
       L" on top");
}

int RunPlainWindowProcess() {
  win32::UniqueBrush brush(::CreateSolidBrush(kPlainColour));
  win32::UniqueWindow window(
      MakePlain(Rect{300, 200, 700, 500}, brush.get(), 0, kPlainProcessCaption));
  if (!window) return 1;
  // WM_CLOSE (posted by the probe) ends it.
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_CLOSE) break;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}

// The topmost window is this process's, the plain one another process's, as the program's
// topmost main window and Excel's window are.
int StackingProbe() {
  win32::UniqueBrush brush(::CreateSolidBrush(kTopmostColour));
  win32::UniqueWindow topmost_window(
      MakePlain(Rect{100, 100, 500, 400}, brush.get(), WS_EX_TOPMOST, L"harness topmost window"));
  HWND topmost = topmost_window.get();
  wchar_t self[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(self) + L"\" plain-window";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(self, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
    Fail(L"the other process", L"started", L"error " + std::to_wstring(::GetLastError()));
    return 1;
  }
  win32::UniqueHandle other(info.hProcess);
  win32::UniqueHandle other_thread(info.hThread);
  HWND plain = nullptr;
  WaitUntil([&] { return (plain = ::FindWindowW(kPlainClass, kPlainProcessCaption)) != nullptr; },
            std::chrono::seconds(10));
  if (!Expect(topmost != nullptr && plain != nullptr, L"both windows are there")) return 1;
  auto report = [&](const std::wstring& step) {
    TakeMessages();
    Note(step + L": window list: topmost in front " +
         std::to_wstring(StackedInFront(topmost, plain)) + L", plain window topmost " +
         std::to_wstring(IsTopmost(plain)) + L", foreground is the plain window " +
         std::to_wstring(::GetForegroundWindow() == plain) + L"; " +
         DrawnOnTop(topmost, kTopmostColour, plain, kPlainColour, 400, 300));
  };
  report(L"both shown");
  ::SetForegroundWindow(topmost);
  report(L"SetForegroundWindow(topmost)");
  ::SetForegroundWindow(plain);
  report(L"SetForegroundWindow(plain), as a paste brings Excel forward");
  ::SetWindowPos(topmost, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  report(L"SetWindowPos(topmost, HWND_TOPMOST) again");
  ::PostMessageW(plain, WM_CLOSE, 0, 0);
  Expect(::WaitForSingleObject(other.get(), 10000) == WAIT_OBJECT_0, L"the other process ended");
  return FailureCount() == 0 ? 0 : 1;
}

}  // namespace harumado::harness
