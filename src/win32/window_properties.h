#pragma once
// Named values the program stands on its own windows for other processes to read (tests that
// drive the program wait for these instead of for time). Windows wants every property a program
// added removed before the window is gone: the window procedure calls RemoveWindowProperties as
// the window is destroyed, for every name ever set through SetWindowProperty.
#include <cstdint>

#include "win32/win32_api.h"

namespace harumado::win32 {

// Sets the property `name` of the window to a number (not a handle).
void SetWindowProperty(HWND window, const wchar_t* name, std::intptr_t value);
// Removes every property that SetWindowProperty set on any window from this one.
void RemoveWindowProperties(HWND window);

}  // namespace harumado::win32
