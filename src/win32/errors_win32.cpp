#include "win32/errors_win32.h"

#include "automation/error_numbers.h"
#include "win32/win32_api.h"

namespace harumado::win32 {

// The number as the automation runtime maps it (class and object creation failures as 429,
// members not found as 438, ...), the same for every call of the program.
void ThrowHresult(long hr, const std::wstring& what) {
  throw rt::AutomationError(automation::ErrorNumberFor(static_cast<std::uint32_t>(hr)), what);
}

std::int32_t FileErrorNumber(unsigned long win32_error) {
  switch (win32_error) {
    case ERROR_FILE_NOT_FOUND:
      return rt::err::kFileNotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
      return rt::err::kPermissionDenied;
    default:
      return rt::err::kPathFileAccessError;
  }
}

void ThrowFileError(unsigned long win32_error, const std::wstring& path) {
  throw rt::AutomationError(FileErrorNumber(win32_error), path);
}

}  // namespace harumado::win32
