#include "runtime/automation_error.h"

#include <array>
#include <charconv>
#include <string>

namespace harumado::rt {

namespace {

// The number, and the server's description when it gave one (its ASCII part: what() is for
// logs and test reports, never shown to the user).
std::string WhatText(std::int32_t number, const std::wstring& description) {
  std::array<char, 16> buf{};
  auto [end, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), number);
  (void)ec;  // 16 characters always hold a 32-bit number
  std::string what = "automation error " + std::string(buf.data(), end);
  if (!description.empty()) {
    what += ": ";
    for (wchar_t c : description)
      what.push_back(c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?');
  }
  return what;
}

}  // namespace

AutomationError::AutomationError(std::int32_t number, std::wstring description)
    : std::runtime_error(WhatText(number, description)),
      number_(number),
      description_(std::move(description)) {}

// The runtime reports every error number as a signed 32-bit Long, so an HRESULT such as
// 0x80010001 reads -2147418111 and the plain numbers stay as they are.
std::wstring ErrorNumberText(std::int32_t number) {
  std::array<char, 16> buf{};
  auto [end, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), number);
  (void)ec;
  return std::wstring(buf.data(), end);
}

}  // namespace harumado::rt
