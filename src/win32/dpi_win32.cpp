#include "win32/dpi_win32.h"

namespace harumado::win32 {
namespace {

// The per-monitor calls exist from Windows 10 version 1607 on; the first Windows 10 release
// only knows the system DPI, so they are looked up at run time.
template <typename F>
F User32Function(const char* name) {
  HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  if (user32 == nullptr) return nullptr;
  return reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(user32, name)));
}

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);

}  // namespace

int SystemDpi() {
  HDC screen = ::GetDC(nullptr);
  const int dpi = screen != nullptr ? ::GetDeviceCaps(screen, LOGPIXELSX) : kDefaultDpi;
  if (screen != nullptr) ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDefaultDpi;
}

int DpiForWindow(HWND window) {
  static const auto get_dpi = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
  if (get_dpi != nullptr && window != nullptr) {
    const UINT dpi = get_dpi(window);
    if (dpi != 0) return static_cast<int>(dpi);
  }
  return SystemDpi();
}

RECT OuterRectForClient(const RECT& client, DWORD style, DWORD ex_style, int dpi) {
  static const auto adjust = User32Function<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
  RECT r = client;
  if (adjust != nullptr) {
    adjust(&r, style, FALSE, ex_style, static_cast<UINT>(dpi));
  } else {
    ::AdjustWindowRectEx(&r, style, FALSE, ex_style);
  }
  return r;
}

int SystemMetricForDpi(int index, int dpi) {
  static const auto metric = User32Function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
  if (metric != nullptr) return metric(index, static_cast<UINT>(dpi));
  return ::GetSystemMetrics(index);
}

}  // namespace harumado::win32
