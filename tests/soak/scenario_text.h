#pragma once
// Writing scenario statements: a text as a scenario string, numbers as the lexer reads them.
#include <string>
#include <string_view>

#include "sim/scenario/lexer.h"

namespace harumado::soak {

// The text in double quotes, UTF-8, with the escapes the lexer knows; other control
// characters as \u{...}, so that the line stays one line.
inline std::string ScenarioString(std::wstring_view text) {
  std::string out = "\"";
  for (const wchar_t c : text) {
    switch (c) {
      case L'"':
        out += "\\\"";
        break;
      case L'\\':
        out += "\\\\";
        break;
      case L'\t':
        out += "\\t";
        break;
      case L'\n':
        out += "\\n";
        break;
      case L'\r':
        out += "\\r";
        break;
      default:
        if (static_cast<unsigned>(c) < 0x20 || c == 0x7F) {
          static constexpr char kHex[] = "0123456789ABCDEF";
          out += "\\u{";
          if (c >= 0x10) out += kHex[(c >> 4) & 0xF];
          out += kHex[c & 0xF];
          out += "}";
        } else {
          out += sim::scenario::ToUtf8(std::wstring_view(&c, 1));
        }
    }
  }
  return out + "\"";
}

}  // namespace harumado::soak
