#include "sim/scenario/lexer.h"

#include <charconv>
#include <stdexcept>

namespace harumado::sim::scenario {
namespace {

bool ParseNumber(const std::string& s, double& out) {
  if (s.empty()) return false;
  std::string body = s;
  bool negative = false;
  if (body[0] == '+' || body[0] == '-') {
    negative = body[0] == '-';
    body = body.substr(1);
  }
  if (body.size() > 2 && body[0] == '0' && (body[1] == 'x' || body[1] == 'X')) {
    unsigned long long v = 0;
    auto r = std::from_chars(body.data() + 2, body.data() + body.size(), v, 16);
    if (r.ec != std::errc() || r.ptr != body.data() + body.size()) return false;
    out = static_cast<double>(v);
    if (negative) out = -out;
    return true;
  }
  if (body.empty() || !(std::isdigit(static_cast<unsigned char>(body[0])) || body[0] == '.')) {
    return false;
  }
  double v = 0;
  auto r = std::from_chars(body.data(), body.data() + body.size(), v);
  if (r.ec != std::errc() || r.ptr != body.data() + body.size()) return false;
  out = negative ? -v : v;
  return true;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

}  // namespace

std::wstring FromUtf8(std::string_view s) {
  std::wstring out;
  for (std::size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    char32_t cp = 0;
    int extra = 0;
    if (c < 0x80) {
      cp = c;
    } else if ((c & 0xE0) == 0xC0) {
      cp = c & 0x1F;
      extra = 1;
    } else if ((c & 0xF0) == 0xE0) {
      cp = c & 0x0F;
      extra = 2;
    } else if ((c & 0xF8) == 0xF0) {
      cp = c & 0x07;
      extra = 3;
    } else {
      throw std::runtime_error("invalid UTF-8");
    }
    for (int k = 1; k <= extra; ++k) {
      if (i + k >= s.size()) throw std::runtime_error("invalid UTF-8");
      const unsigned char d = static_cast<unsigned char>(s[i + k]);
      if ((d & 0xC0) != 0x80) throw std::runtime_error("invalid UTF-8");
      cp = (cp << 6) | (d & 0x3F);
    }
    // Overlong forms, surrogates and code points past U+10FFFF are no UTF-8 either.
    static constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kLeast[extra] || (cp >= 0xD800 && cp < 0xE000) || cp > 0x10FFFF) {
      throw std::runtime_error("invalid UTF-8");
    }
    i += 1 + extra;
    if constexpr (sizeof(wchar_t) == 2) {
      if (cp >= 0x10000) {
        cp -= 0x10000;
        out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
        continue;
      }
    }
    out.push_back(static_cast<wchar_t>(cp));
  }
  return out;
}

std::string ToUtf8(std::wstring_view s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    char32_t cp = static_cast<char32_t>(s[i]);
    if constexpr (sizeof(wchar_t) == 2) {
      if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < s.size()) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (static_cast<char32_t>(s[i + 1]) - 0xDC00);
        ++i;
      }
    }
    AppendUtf8(out, cp);
  }
  return out;
}

std::vector<Token> Tokenize(std::string_view line) {
  std::vector<Token> tokens;
  std::size_t i = 0;
  while (i < line.size()) {
    const char c = line[i];
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      ++i;
      continue;
    }
    if (c == '#') break;
    if (c == '"') {
      std::string bytes;
      ++i;
      bool closed = false;
      while (i < line.size()) {
        char d = line[i];
        if (d == '"') {
          closed = true;
          ++i;
          break;
        }
        if (d == '\\') {
          if (i + 1 >= line.size()) throw std::runtime_error("unfinished escape in string");
          char e = line[i + 1];
          i += 2;
          switch (e) {
            case '"':
              bytes.push_back('"');
              break;
            case '\\':
              bytes.push_back('\\');
              break;
            case 't':
              bytes.push_back('\t');
              break;
            case 'n':
              bytes.push_back('\n');
              break;
            case 'r':
              bytes.push_back('\r');
              break;
            case 'u': {
              if (i >= line.size() || line[i] != '{') throw std::runtime_error("bad \\u escape");
              std::size_t close = line.find('}', i);
              if (close == std::string_view::npos) throw std::runtime_error("bad \\u escape");
              std::string hex(line.substr(i + 1, close - i - 1));
              unsigned long cp = 0;
              auto r = std::from_chars(hex.data(), hex.data() + hex.size(), cp, 16);
              if (hex.empty() || r.ec != std::errc() || r.ptr != hex.data() + hex.size() ||
                  cp > 0x10FFFF) {
                throw std::runtime_error("bad \\u escape");
              }
              AppendUtf8(bytes, static_cast<char32_t>(cp));
              i = close + 1;
              break;
            }
            default:
              throw std::runtime_error(std::string("unknown escape \\") + e);
          }
          continue;
        }
        bytes.push_back(d);
        ++i;
      }
      if (!closed) throw std::runtime_error("unterminated string");
      tokens.push_back({Token::Kind::kString, FromUtf8(bytes), 0});
      continue;
    }
    std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r' &&
           line[i] != '\n' && line[i] != '"' && line[i] != '#') {
      ++i;
    }
    std::string word(line.substr(start, i - start));
    Token t;
    t.text = FromUtf8(word);
    double v = 0;
    if (ParseNumber(word, v)) {
      t.kind = Token::Kind::kNumber;
      t.number = v;
    }
    tokens.push_back(t);
  }
  return tokens;
}

}  // namespace harumado::sim::scenario
