#include "win32/text_win32.h"

#include "win32/win32_api.h"

namespace harumado::win32 {

// Code page 0 is the system's ANSI code page (932 on a Japanese system).
std::wstring WideFromAnsi(const std::string& bytes, unsigned code_page) {
  if (bytes.empty()) return {};
  const UINT cp = code_page == 0 ? CP_ACP : code_page;
  const int n =
      ::MultiByteToWideChar(cp, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring text(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(cp, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), n);
  return text;
}

std::string AnsiFromWide(const std::wstring& text, unsigned code_page) {
  if (text.empty()) return {};
  const UINT cp = code_page == 0 ? CP_ACP : code_page;
  const int n = ::WideCharToMultiByte(cp, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                      nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(cp, 0, text.data(), static_cast<int>(text.size()), bytes.data(), n, nullptr,
                        nullptr);
  return bytes;
}

}  // namespace harumado::win32
