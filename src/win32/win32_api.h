#pragma once
// The Windows headers, as every file of the Windows platform includes them: wide calls only.
// clang-format off
#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0A00
#endif
#include <windows.h>
// The rest after windows.h, which they need.
#include <commctrl.h>
#include <imm.h>
#include <knownfolders.h>
#include <ole2.h>
#include <shlobj.h>

// clang-format on

// The program's own interfaces use these names; the platform calls the wide functions by their
// full names (SendMessageW, ...).
#undef SendMessage
#undef SendMessageTimeout
#undef PostMessage
#undef CallWindowProc
#undef GetWindowText
#undef MessageBox
#undef FindWindow
#undef GetObject
