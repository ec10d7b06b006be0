// The window system with real window models: native controls in step with the model, timers,
// the nested dispatch, a window destroyed by its own handler, and the end of the loops.
#include <functional>
#include <memory>
#include <thread>

#include "core/ui/layouts.h"
#include "platform_test.h"
#include "runtime/automation_error.h"
#include "win32/dpi_win32.h"
#include "win32/win32_api.h"
#include "win32/window_properties.h"
#include "win32/window_system_win32.h"

namespace {

using harumado::win32::WindowSystemWin32;
namespace ui = harumado::ui;

HWND Item(HWND window, const ui::Window& model, const wchar_t* name) {
  const auto& controls = model.controls();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (controls[i]->name() == name) {
      return ::GetDlgItem(window, harumado::win32::kFirstControlId + static_cast<int>(i));
    }
  }
  return nullptr;
}

std::wstring Text(HWND hwnd) {
  wchar_t buffer[256] = {};
  ::GetWindowTextW(hwnd, buffer, 256);
  return buffer;
}

// Dispatches until the condition holds or 3 seconds have passed.
bool DispatchUntil(WindowSystemWin32& windows, const std::function<bool()>& condition) {
  const DWORD end = ::GetTickCount() + 3000;
  while (!condition()) {
    if (::GetTickCount() > end) return false;
    windows.DoEvents();
    ::Sleep(5);
  }
  return true;
}

// What a window held once its own procedure had handled WM_NCDESTROY (the window is still a
// window then), seen by a subclass that lets that procedure go first.
struct PropertiesAtDestruction {
  bool destroyed = false;
  HANDLE ours = nullptr;
  HANDLE theirs = nullptr;
};

LRESULT CALLBACK LookAtPropertiesWhenDestroyed(HWND window, UINT message, WPARAM wparam,
                                               LPARAM lparam, UINT_PTR id, DWORD_PTR data) {
  const LRESULT result = ::DefSubclassProc(window, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    auto* seen = reinterpret_cast<PropertiesAtDestruction*>(data);
    seen->destroyed = true;
    seen->ours = ::GetPropW(window, L"HarumadoTestCount");
    seen->theirs = ::RemovePropW(window, L"SomeoneElses");
    ::RemoveWindowSubclass(window, &LookAtPropertiesWhenDestroyed, id);
  }
  return result;
}

}  // namespace

PLATFORM_TEST(NativeControlsFollowTheModel) {
  WindowSystemWin32 windows(::GetModuleHandleW(nullptr));
  auto model = ui::MakeMainWindowLayout();
  HWND hwnd = reinterpret_cast<HWND>(windows.Create(*model));
  CHECK(::IsWindow(hwnd) && !::IsWindowVisible(hwnd));
  CHECK_TEXT(L"Harumado", windows.GetWindowText(reinterpret_cast<std::intptr_t>(hwnd), 64));
  // A buffer of 5 characters holds the first 4 and the terminating zero.
  CHECK_TEXT(L"Haru", windows.GetWindowText(reinterpret_cast<std::intptr_t>(hwnd), 5));
  RECT client{};
  ::GetClientRect(hwnd, &client);
  CHECK_INT(::MulDiv(3915, harumado::win32::DpiForWindow(hwnd), 1440), client.right);

  ui::Control& text2 = (*model)[L"Text2"];
  text2.SetText(L"デスクトップに [test.xlsx] を作成しました。");
  CHECK_TEXT(L"デスクトップに [test.xlsx] を作成しました。", Text(Item(hwnd, *model, L"Text2")));
  text2.SetLocked(true);
  CHECK((::GetWindowLongW(Item(hwnd, *model, L"Text2"), GWL_STYLE) & ES_READONLY) != 0);
  ui::Control& check2 = (*model)[L"Check2"];
  check2.SetValue(0);
  CHECK_INT(BST_UNCHECKED, ::SendMessageW(Item(hwnd, *model, L"Check2"), BM_GETCHECK, 0, 0));
  (*model)[L"Command5"].SetText(L"     貼り付け     開始");
  CHECK_TEXT(L"     貼り付け     開始", Text(Item(hwnd, *model, L"Command5")));
  ui::Control& text1 = (*model)[L"Text1"];
  text1.SetSelection(0, 1);
  DWORD start = 9, end = 9;
  ::SendMessageW(Item(hwnd, *model, L"Text1"), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
  CHECK_INT(0, start);
  CHECK_INT(1, end);

  // The user's editing reaches the model.
  int changes = 0;
  text1.on_change = [&] { ++changes; };
  ::SetWindowTextW(Item(hwnd, *model, L"Text1"), L"7");
  CHECK_TEXT(L"7", text1.text());
  CHECK_INT(1, changes);
  windows.Destroy(reinterpret_cast<std::intptr_t>(hwnd));
  CHECK(!::IsWindow(hwnd));
}

PLATFORM_TEST(SlidersTakeTheirRangeAndReportTheUsersSteps) {
  WindowSystemWin32 windows(::GetModuleHandleW(nullptr));
  auto model = ui::MakeSpeechWindowLayout();
  HWND hwnd = reinterpret_cast<HWND>(windows.Create(*model));
  ui::Control& speed = (*model)[L"HScroll1"];
  speed.SetMin(-10);
  speed.SetMax(10);
  int low = 0, high = 0;
  HWND bar = Item(hwnd, *model, L"HScroll1");
  ::GetScrollRange(bar, SB_CTL, &low, &high);
  CHECK_INT(-10, low);
  CHECK_INT(10, high);
  int scrolls = 0;
  speed.on_scroll = [&] { ++scrolls; };
  const struct {
    WPARAM code;
    int value;
  } steps[] = {{SB_LINELEFT, -1},
               {SB_PAGELEFT, -2},
               {SB_LINERIGHT, -1},
               {SB_LEFT, -10},
               {SB_LINELEFT, -10},
               {SB_RIGHT, 10},
               {MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(-3)), -3}};
  for (const auto& s : steps) {
    ::SendMessageW(hwnd, WM_HSCROLL, s.code, reinterpret_cast<LPARAM>(bar));
    CHECK_INT(s.value, speed.value());
    CHECK_INT(s.value, ::GetScrollPos(bar, SB_CTL));
  }
  CHECK_INT(6, scrolls);  // the step at the left end changes nothing
  windows.Destroy(reinterpret_cast<std::intptr_t>(hwnd));
}

PLATFORM_TEST(TimersTickWhileEnabledWithAnInterval) {
  WindowSystemWin32 windows(::GetModuleHandleW(nullptr));
  auto model = ui::MakeMainWindowLayout();
  HWND hwnd = reinterpret_cast<HWND>(windows.Create(*model));
  ui::Control& timer = (*model)[L"Timer2"];  // enabled, interval 0: silent
  int ticks = 0;
  timer.on_timer = [&] { ++ticks; };
  windows.Sleep(50);
  windows.DoEvents();
  CHECK_INT(0, ticks);
  timer.SetInterval(10);
  CHECK(DispatchUntil(windows, [&] { return ticks >= 3; }));
  timer.SetEnabled(false);
  windows.DoEvents();
  const int stopped = ticks;
  windows.Sleep(60);
  windows.DoEvents();
  CHECK_INT(stopped, ticks);
  windows.Destroy(reinterpret_cast<std::intptr_t>(hwnd));
}

// A click whose handler destroys its own window: the handler returns into a view that is gone
// and nothing is touched afterwards.
PLATFORM_TEST(HandlerMayDestroyItsOwnWindow) {
  WindowSystemWin32 windows(::GetModuleHandleW(nullptr));
  auto model = ui::MakeMainWindowLayout();
  const auto handle = windows.Create(*model);
  HWND hwnd = reinterpret_cast<HWND>(handle);
  windows.Show(handle);
  int clicks = 0;
  int releases = 0;
  ui::Control& button = (*model)[L"Command10"];
  button.on_mouse_up = [&] { ++releases; };
  button.on_click = [&] {
    ++clicks;
    windows.Destroy(handle);
    model->set_view(nullptr);
  };
  HWND native = Item(hwnd, *model, L"Command10");
  ::SendMessageW(native, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  ::SendMessageW(native, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  CHECK_INT(1, releases);
  CHECK_INT(1, clicks);
  CHECK(!::IsWindow(hwnd));
  windows.DoEvents();
  CHECK_INT(1, clicks);
}

// The properties the program stands on a window are gone by the time the window's destruction
// has been handled, as Windows asks of a program; properties the program did not set stay.
PLATFORM_TEST(WindowPropertiesAreRemovedAsTheWindowIsDestroyed) {
  WindowSystemWin32 windows(::GetModuleHandleW(nullptr));
  auto model = ui::MakeMainWindowLayout();
  const auto handle = windows.Create(*model);
  HWND hwnd = reinterpret_cast<HWND>(handle);
  harumado::win32::SetWindowProperty(hwnd, L"HarumadoTestCount", 7);
  ::SetPropW(hwnd, L"SomeoneElses", reinterpret_cast<HANDLE>(3));
  CHECK(::GetPropW(hwnd, L"HarumadoTestCount") == reinterpret_cast<HANDLE>(7));
  PropertiesAtDestruction seen;
  CHECK(::SetWindowSubclass(hwnd, &LookAtPropertiesWhenDestroyed, 1,
                            reinterpret_cast<DWORD_PTR>(&seen)));
  windows.Destroy(handle);
  model->set_view(nullptr);
  CHECK(seen.destroyed);
  CHECK(seen.ours == nullptr);
  CHECK(seen.theirs == reinterpret_cast<HANDLE>(3));
}

PLATFORM_TEST(GetWindowRectFailsForNoWindow) {
  WindowSystemWin32 windows(::GetModuleHandleW(nullptr));
  bool failed = false;
  try {
    windows.GetWindowRect(0);
  } catch (const harumado::rt::AutomationError&) {
    failed = true;
  }
  CHECK(failed);
  const auto monitors = windows.Monitors();
  CHECK(!monitors.empty());
  if (!monitors.empty()) {
    CHECK(monitors.front().left <= 0 && monitors.front().right > 0);  // the primary one first
  }
}

// Once the program has ended, nested dispatching stops; the end stays queued for the main loop.
PLATFORM_TEST(QuitStopsNestedDispatchAndEndsTheMainLoop) {
  WindowSystemWin32 windows(::GetModuleHandleW(nullptr));
  auto model = ui::MakeMainWindowLayout();
  const auto handle = windows.Create(*model);
  int ticks = 0;
  ui::Control& timer = (*model)[L"Timer1"];
  timer.on_timer = [&] { ++ticks; };
  timer.SetInterval(10);
  timer.SetEnabled(true);
  windows.Quit(0);
  windows.Sleep(40);
  windows.DoEvents();
  CHECK_INT(0, ticks);
  int idles = 0;
  CHECK_INT(0, windows.Run([&] { ++idles; }));
  windows.Destroy(handle);
}

// The main window is closed while a handler runs its own dispatching loop (as the paste loop
// does): the close runs nested, ends the program, and the loop returns afterwards without
// touching the window that is gone.
PLATFORM_TEST(CloseDuringANestedLoopIsSafe) {
  WindowSystemWin32 windows(::GetModuleHandleW(nullptr));
  auto model = ui::MakeMainWindowLayout();
  const auto handle = windows.Create(*model);
  HWND hwnd = reinterpret_cast<HWND>(handle);
  windows.Show(handle);
  bool closed = false;
  int cycles_after_close = 0;
  model->on_close_request = [&] {
    windows.Destroy(handle);
    model->set_view(nullptr);
    windows.Quit(0);
    closed = true;
  };
  ui::Control& button = (*model)[L"Command5"];
  button.on_click = [&] {
    ::PostMessageW(hwnd, WM_CLOSE, 0, 0);
    for (int cycle = 0; cycle < 200; ++cycle) {
      windows.DoEvents();
      if (closed && ++cycles_after_close == 3) break;
      windows.Sleep(5);
    }
    button.SetText(L"     貼り付け     開始");  // the model only: its window is gone
  };
  HWND native = Item(hwnd, *model, L"Command5");
  ::SendMessageW(native, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  ::SendMessageW(native, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  CHECK(closed);
  CHECK_INT(3, cycles_after_close);
  CHECK(!::IsWindow(hwnd));
  CHECK_INT(0, windows.Run([] {}));
}

namespace {

// A plain window of the test thread that counts what reaches it.
struct Counts {
  int paints = 0;
  ULONGLONG last_paint = 0;
  int sent = 0;    // WM_USER + 1, sent by another thread
  int posted = 0;  // WM_USER + 2
  int ticks = 0;
};
Counts counts;

LRESULT CALLBACK CountingWindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      ::BeginPaint(hwnd, &ps);
      ::EndPaint(hwnd, &ps);
      ++counts.paints;
      counts.last_paint = ::GetTickCount64();
      return 0;
    }
    case WM_USER + 1:
      ++counts.sent;
      return 1;
    case WM_USER + 2:
      ++counts.posted;
      return 0;
    case WM_TIMER:
      ++counts.ticks;
      return 0;
    default:
      return ::DefWindowProcW(hwnd, message, wparam, lparam);
  }
}

}  // namespace

// While the program sleeps, a window of it that needs painting is painted at once; a message
// sent by another thread, a posted one and timer ticks wait for the next dispatch.
PLATFORM_TEST(SleepPaintsButTakesNoOtherMessage) {
  WindowSystemWin32 windows(::GetModuleHandleW(nullptr));
  WNDCLASSW wc{};
  wc.lpfnWndProc = &CountingWindowProc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = L"HarumadoSleepTest";
  ::RegisterClassW(&wc);
  HWND hwnd = ::CreateWindowExW(0, wc.lpszClassName, L"sleep test", WS_POPUP | WS_VISIBLE, 10, 10,
                                80, 60, nullptr, nullptr, wc.hInstance, nullptr);
  windows.DoEvents();
  counts = Counts{};
  ::SetTimer(hwnd, 1, 10, nullptr);
  ::PostMessageW(hwnd, WM_USER + 2, 0, 0);

  HANDLE sleeping = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ULONGLONG invalidated = 0;
  bool sent_answered = true;
  std::thread other([&] {
    ::WaitForSingleObject(sleeping, 5000);
    ::Sleep(100);  // well inside the sleep
    invalidated = ::GetTickCount64();
    ::InvalidateRect(hwnd, nullptr, TRUE);
    DWORD_PTR result = 0;
    sent_answered = ::SendMessageTimeoutW(hwnd, WM_USER + 1, 0, 0, SMTO_NORMAL, 200, &result) != 0;
  });
  const ULONGLONG start = ::GetTickCount64();
  ::SetEvent(sleeping);
  windows.Sleep(600);
  const ULONGLONG slept = ::GetTickCount64() - start;
  other.join();
  ::CloseHandle(sleeping);

  CHECK(slept >= 590);
  CHECK_INT(1, counts.paints);
  CHECK(counts.paints == 1 && counts.last_paint - invalidated < 50);
  CHECK(!sent_answered);
  CHECK_INT(0, counts.sent);
  CHECK_INT(0, counts.posted);
  CHECK_INT(0, counts.ticks);
  windows.DoEvents();
  CHECK_INT(1, counts.posted);
  CHECK(counts.ticks >= 1);
  ::KillTimer(hwnd, 1);
  ::DestroyWindow(hwnd);
}
