#pragma once
// Letters compared and lowered as Windows compares file and workbook names and Excel its keywords:
// A to Z and a to z only; every other character stands for itself.
#include <cstddef>
#include <string_view>

namespace harumado::rt {

constexpr wchar_t AsciiLower(wchar_t c) {
  return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

constexpr bool EqualsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

}  // namespace harumado::rt
