#pragma once
// The program's paths on a system whose separator is "/". The core joins a folder and a file
// name with a backslash, as Windows does ("FOLDER\Harumado.dat", "DESKTOP\book.xlsx"); the
// names it joins hold no backslash, so the last backslash of such a path is the separator and
// any earlier one belongs to a folder's name (a Linux name may hold one).
#include <string>

namespace harumado::platform {

// The path with its last backslash read as "/".
inline std::wstring SlashSeparatedPath(std::wstring path) {
  const std::size_t separator = path.rfind(L'\\');
  if (separator != std::wstring::npos) path[separator] = L'/';
  return path;
}

}  // namespace harumado::platform
