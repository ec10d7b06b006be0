// The Excel test double: an out-of-process automation server for "Excel.Application" whose
// objects are the simulated spreadsheet application.
//   harumado-excel-double.exe /regserver | /unregserver   registers the classes, or removes them
//   harumado-excel-double.exe /close-all                  closes every running double
//   harumado-excel-double.exe -Embedding                  as COM starts it
#include <string>

#include "double_excel.h"
#include "registration.h"
#include "win32/scoped.h"

using namespace harumado;

namespace {

// Every double's main window asks its Excel to quit, as a user closing it does.
int CloseAll() {
  HWND w = nullptr;
  int closed = 0;
  while ((w = ::FindWindowExW(nullptr, w, doubles::kWindowClass, nullptr)) != nullptr) {
    ::PostMessageW(w, WM_CLOSE, 0, 0);
    ++closed;
  }
  for (int i = 0; i < 100 && ::FindWindowExW(nullptr, nullptr, doubles::kWindowClass, nullptr);
       ++i) {
    ::Sleep(50);
  }
  return ::FindWindowExW(nullptr, nullptr, doubles::kWindowClass, nullptr) == nullptr ? 0 : 1;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR command_line, int) {
  const std::wstring args = command_line != nullptr ? command_line : L"";
  if (args.find(L"/regserver") != std::wstring::npos) return doubles::RegisterServer() ? 0 : 1;
  if (args.find(L"/unregserver") != std::wstring::npos) return doubles::UnregisterServer() ? 0 : 1;
  if (args.find(L"/close-all") != std::wstring::npos) return CloseAll();
  win32::ComApartment com;
  if (!com.ok()) return 1;
  doubles::DoubleExcel excel(instance);
  return excel.Run();
}
