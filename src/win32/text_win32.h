#pragma once
// Text between the program's wide strings and the system's ANSI code page.
#include <string>

namespace harumado::win32 {

std::wstring WideFromAnsi(const std::string& bytes, unsigned code_page = 0);
std::string AnsiFromWide(const std::wstring& text, unsigned code_page = 0);

}  // namespace harumado::win32
