#pragma once
// Tokens of a scenario line: bare words, numbers and strings.
#include <string>
#include <string_view>
#include <vector>

namespace harumado::sim::scenario {

struct Token {
  enum class Kind { kWord, kNumber, kString };
  Kind kind = Kind::kWord;
  std::wstring text;  // the word, the string's content, or the number as written
  double number = 0;
};

// Splits one line (UTF-8) into tokens; '#' outside a string starts a comment. Throws
// std::runtime_error with the reason for a malformed line.
std::vector<Token> Tokenize(std::string_view line);

std::wstring FromUtf8(std::string_view s);
std::string ToUtf8(std::wstring_view s);

}  // namespace harumado::sim::scenario
