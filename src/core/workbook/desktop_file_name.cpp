#include "core/workbook/desktop_file_name.h"

#include <cstdint>
#include <string_view>

#include "core/workbook/workbook_path.h"
#include "runtime/ascii_case.h"

namespace harumado::workbook {
namespace {

constexpr std::wstring_view kForbidden = L"\\/:*?\"<>|";

// C0 and C1 controls and DEL; Windows refuses the first 31 in file names, and none of them is
// anything a user means to type.
bool IsControl(wchar_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

using rt::AsciiLower;
using rt::EqualsIgnoringAsciiCase;

// The legacy device names. Windows takes a name as the device whatever follows its first dot
// ("nul.tar.gz") and whatever blanks end the part before it ("con .xlsx"). COM and LPT are
// followed by a digit, the superscripts ¹ ² ³ included.
bool IsDeviceName(std::wstring_view name) {
  std::wstring_view base = name.substr(0, name.find(L'.'));
  while (!base.empty() && base.back() == L' ') base.remove_suffix(1);
  for (std::wstring_view device : {L"con", L"prn", L"aux", L"nul", L"conin$", L"conout$"}) {
    if (EqualsIgnoringAsciiCase(base, device)) return true;
  }
  if (base.size() != 4) return false;
  const std::wstring_view stem = base.substr(0, 3);
  if (!EqualsIgnoringAsciiCase(stem, L"com") && !EqualsIgnoringAsciiCase(stem, L"lpt")) {
    return false;
  }
  const wchar_t digit = base[3];
  return (digit >= L'0' && digit <= L'9') || digit == L'\u00B9' || digit == L'\u00B2' ||
         digit == L'\u00B3';
}

// Windows counts path lengths in UTF-16 code units; a wide character beyond the basic plane
// takes two of them where wchar_t holds whole code points.
// (A template, so that the count for 32-bit characters is not compiled where wchar_t has 16.)
template <typename Char>
std::size_t Utf16Length(const std::basic_string<Char>& text) {
  if constexpr (sizeof(Char) == 2) {
    return text.size();
  } else {
    std::size_t units = 0;
    for (Char c : text) units += static_cast<std::uint32_t>(c) > 0xFFFF ? 2 : 1;
    return units;
  }
}

}  // namespace

bool IsDesktopFileName(const std::wstring& desktop_folder, const std::wstring& typed) {
  if (typed.empty()) return true;
  for (wchar_t c : typed) {
    if (IsControl(c) || kForbidden.find(c) != std::wstring_view::npos) return false;
  }
  const std::wstring name = WorkbookName(typed);
  if (name.back() == L'.' || name.back() == L' ') return false;  // Windows drops them
  if (IsDeviceName(name)) return false;
  return Utf16Length(WorkbookPath(desktop_folder, typed)) <= kLongestWorkbookPath;
}

}  // namespace harumado::workbook
