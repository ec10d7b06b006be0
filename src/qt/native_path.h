#pragma once
// The program's paths on Linux. The core joins a folder and a file name with a backslash, as
// Windows does ("FOLDER\Harumado.dat", "DESKTOP\book.xlsx"); the names it joins hold no
// backslash, so the last backslash of such a path is the separator and any earlier one belongs to
// a folder's name (a Linux name may hold one).
#include <string>

namespace harumado::qt {

// The path as the file system takes it, in UTF-8, its last backslash read as "/".
std::string NativePath(const std::wstring& path);
// UTF-8 and the program's wide texts.
std::string Utf8(const std::wstring& text);
std::wstring Wide(const std::string& utf8);

}  // namespace harumado::qt
