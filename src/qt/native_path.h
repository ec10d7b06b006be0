#pragma once
// The program's paths on Linux (joined with "/": platform/program_path.h), as the file system takes
// them.
#include <string>

namespace harumado::qt {

// The path as the file system takes it, in UTF-8, its last backslash read as "/".
std::string NativePath(const std::wstring& path);
// UTF-8 and the program's wide texts.
std::string Utf8(const std::wstring& text);
std::wstring Wide(const std::string& utf8);

}  // namespace harumado::qt
