#include "win32/errors_win32.h"

#include "win32/win32_api.h"

namespace harumado::win32 {

// Class and object creation failures reach the program as "cannot create object" (429), as the
// automation runtime maps them; every other HRESULT is passed on as it is.
void ThrowHresult(long hr, const std::wstring& what) {
  const auto code = static_cast<std::uint32_t>(hr);
  switch (code) {
    case 0x800401F3u:  // CO_E_CLASSSTRING: no such ProgID
    case 0x80040154u:  // REGDB_E_CLASSNOTREG
    case 0x800401E3u:  // MK_E_UNAVAILABLE: nothing running
      throw rt::AutomationError(rt::err::kCannotCreateObject, what);
    default:
      throw rt::AutomationError(static_cast<std::int32_t>(code), what);
  }
}

std::int32_t FileErrorNumber(unsigned long win32_error) {
  switch (win32_error) {
    case ERROR_FILE_NOT_FOUND:
      return 53;  // File not found
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
      return 70;  // Permission denied
    default:
      return 75;  // Path/File access error
  }
}

void ThrowFileError(unsigned long win32_error, const std::wstring& path) {
  throw rt::AutomationError(FileErrorNumber(win32_error), path);
}

}  // namespace harumado::win32
