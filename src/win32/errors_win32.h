#pragma once
// Failures of system calls, turned into the program's one error type.
#include <cstdint>
#include <string>

#include "runtime/automation_error.h"

namespace harumado::win32 {

// An automation failure (HRESULT) as the automation runtime reports it.
[[noreturn]] void ThrowHresult(long hr, const std::wstring& what);
// A failed file operation, with the run-time error number the file statements raise.
[[noreturn]] void ThrowFileError(unsigned long win32_error, const std::wstring& path);
// The run-time error number for a Win32 error of a file operation: 53, 70 or 75.
std::int32_t FileErrorNumber(unsigned long win32_error);

}  // namespace harumado::win32
