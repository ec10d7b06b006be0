#include "win32/window_properties.h"

#include <set>
#include <string>

namespace harumado::win32 {

namespace {

// The names are few and fixed; they are kept for the program's lifetime.
std::set<std::wstring>& NamesSet() {
  static std::set<std::wstring> names;
  return names;
}

}  // namespace

void SetWindowProperty(HWND window, const wchar_t* name, std::intptr_t value) {
  NamesSet().insert(name);
  ::SetPropW(window, name, reinterpret_cast<HANDLE>(value));
}

void RemoveWindowProperties(HWND window) {
  for (const std::wstring& name : NamesSet()) ::RemovePropW(window, name.c_str());
}

}  // namespace harumado::win32
