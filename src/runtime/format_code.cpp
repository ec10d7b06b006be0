#include "runtime/format_code.h"

#include <array>

#include "runtime/automation_error.h"

namespace harumado::rt::detail {

namespace {

[[noreturn]] void Unusable() { throw AutomationError(err::kTypeMismatch); }

wchar_t Lower(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c; }

bool StartsWithNoCase(std::wstring_view s, std::size_t at, std::wstring_view word) {
  if (s.size() - at < word.size()) return false;
  for (std::size_t k = 0; k < word.size(); ++k) {
    if (Lower(s[at + k]) != Lower(word[k])) return false;
  }
  return true;
}

bool IsAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }

bool IsDateKind(TokenKind k) {
  switch (k) {
    case TokenKind::kYear:
    case TokenKind::kMonth:
    case TokenKind::kMinute:
    case TokenKind::kDay:
    case TokenKind::kJapaneseDay:
    case TokenKind::kHour:
    case TokenKind::kSecond:
    case TokenKind::kFracSecond:
    case TokenKind::kElapsedHours:
    case TokenKind::kElapsedMinutes:
    case TokenKind::kElapsedSeconds:
    case TokenKind::kAmPm:
      return true;
    default:
      return false;
  }
}

Token Literal(std::wstring text) {
  Token t;
  t.text = std::move(text);
  return t;
}

Token Simple(TokenKind kind, wchar_t ch = 0, int count = 0) {
  Token t;
  t.kind = kind;
  t.ch = ch;
  t.count = count;
  return t;
}

// [...] in a code: a colour ([赤], [Red], [色10]) changes nothing in the text; [$¥-411] shows
// the currency text before the '-'; [h], [mm], [ss] are elapsed time. Conditions and the
// other switches are not applied by this formatter.
bool ParseBracket(std::wstring_view content, std::vector<Token>& tokens) {
  static constexpr std::array<std::wstring_view, 16> kColours = {
      L"black", L"blue", L"cyan", L"green", L"magenta", L"red", L"white", L"yellow",
      L"黒",    L"青",   L"水",   L"緑",    L"紫",      L"赤",  L"白",    L"黄"};
  for (const auto colour : kColours) {
    if (content.size() == colour.size() && StartsWithNoCase(content, 0, colour)) return false;
  }
  if (StartsWithNoCase(content, 0, L"color") || content.starts_with(L"色")) {
    const std::size_t start = content.starts_with(L"色") ? 1 : 5;
    if (content.size() == start) Unusable();
    for (std::size_t k = start; k < content.size(); ++k) {
      if (content[k] < L'0' || content[k] > L'9') Unusable();
    }
    return false;
  }
  if (!content.empty() && content[0] == L'$') {
    const std::size_t dash = content.find(L'-');
    const std::wstring_view symbol =
        content.substr(1, dash == std::wstring_view::npos ? std::wstring_view::npos : dash - 1);
    if (!symbol.empty()) {
      tokens.push_back(Literal(std::wstring(symbol)));
      return true;
    }
    return false;
  }
  if (!content.empty()) {
    const wchar_t letter = Lower(content[0]);
    bool same = true;
    for (const wchar_t c : content) same = same && Lower(c) == letter;
    if (same) {
      const int count = static_cast<int>(content.size());
      if (letter == L'h') {
        tokens.push_back(Simple(TokenKind::kElapsedHours, 0, count));
        return true;
      }
      if (letter == L'm') {
        tokens.push_back(Simple(TokenKind::kElapsedMinutes, 0, count));
        return true;
      }
      if (letter == L's') {
        tokens.push_back(Simple(TokenKind::kElapsedSeconds, 0, count));
        return true;
      }
    }
  }
  Unusable();
}

int RunLength(std::wstring_view s, std::size_t at) {
  const wchar_t letter = Lower(s[at]);
  std::size_t end = at;
  while (end < s.size() && Lower(s[end]) == letter) ++end;
  return static_cast<int>(end - at);
}

std::vector<Token> Tokenize(std::wstring_view s) {
  std::vector<Token> tokens;
  // A '\' that opens the section (nothing shown before it) is the yen mark of a local code
  // and is shown as '\'; anywhere else '\' shows the character after it.
  bool leading = true;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const wchar_t c = s[i];
    const wchar_t lc = Lower(c);
    bool shows_something = true;
    if (c == L'"') {
      const std::size_t close = s.find(L'"', i + 1);
      if (close == std::wstring_view::npos) Unusable();
      tokens.push_back(Literal(std::wstring(s.substr(i + 1, close - i - 1))));
      i = close;
    } else if (c == L'\\') {
      if (leading) {
        tokens.push_back(Literal(L"\\"));
      } else {
        if (i + 1 >= s.size()) Unusable();
        tokens.push_back(Literal(std::wstring(1, s[++i])));
      }
    } else if (c == L'_') {
      if (i + 1 >= s.size()) Unusable();
      ++i;
      tokens.push_back(Literal(L" "));
    } else if (c == L'*') {
      if (i + 1 >= s.size()) Unusable();
      ++i;  // the fill character repeats to the cell width; the text itself holds none
      shows_something = false;
    } else if (c == L'[') {
      const std::size_t close = s.find(L']', i + 1);
      if (close == std::wstring_view::npos) Unusable();
      shows_something = ParseBracket(s.substr(i + 1, close - i - 1), tokens);
      i = close;
    } else if (c == L'0' || c == L'#' || c == L'?') {
      tokens.push_back(Simple(TokenKind::kDigit, c));
    } else if (c == L'.') {
      tokens.push_back(Simple(TokenKind::kPoint));
    } else if (c == L',') {
      Token t = Literal(L",");
      t.ch = L',';  // a comma whose role the section decides afterwards
      tokens.push_back(t);
    } else if (c == L'%') {
      tokens.push_back(Simple(TokenKind::kPercent));
    } else if (c == L'@') {
      tokens.push_back(Simple(TokenKind::kText));
    } else if (s.substr(i).starts_with(L"G/標準")) {
      tokens.push_back(Simple(TokenKind::kGeneral));
      i += 3;
    } else if (StartsWithNoCase(s, i, L"general")) {
      tokens.push_back(Simple(TokenKind::kGeneral));
      i += 6;
    } else if (lc == L'e' && i + 1 < s.size() && (s[i + 1] == L'+' || s[i + 1] == L'-')) {
      tokens.push_back(Simple(TokenKind::kExponent, s[i + 1]));
      ++i;
    } else if (StartsWithNoCase(s, i, L"am/pm")) {
      Token t = Simple(TokenKind::kAmPm, 0, 2);
      t.text = std::wstring(s.substr(i, 5));
      tokens.push_back(t);
      i += 4;
    } else if (StartsWithNoCase(s, i, L"a/p")) {
      Token t = Simple(TokenKind::kAmPm, 0, 1);
      t.text = std::wstring(s.substr(i, 3));
      tokens.push_back(t);
      i += 2;
    } else if (lc == L'a' && RunLength(s, i) >= 3) {
      const int run = RunLength(s, i);
      tokens.push_back(Simple(TokenKind::kJapaneseDay, 0, run));
      i += static_cast<std::size_t>(run) - 1;
    } else if (lc == L'y' || lc == L'm' || lc == L'd' || lc == L'h' || lc == L's') {
      const int run = RunLength(s, i);
      const TokenKind kind = lc == L'y'   ? TokenKind::kYear
                             : lc == L'm' ? TokenKind::kMonth
                             : lc == L'd' ? TokenKind::kDay
                             : lc == L'h' ? TokenKind::kHour
                                          : TokenKind::kSecond;
      tokens.push_back(Simple(kind, 0, run));
      i += static_cast<std::size_t>(run) - 1;
    } else if (IsAsciiLetter(c)) {
      Unusable();  // era years (g, e), Buddhist years (b) and stray letters
    } else {
      tokens.push_back(Literal(std::wstring(1, c)));
    }
    if (shows_something) leading = false;
  }
  return tokens;
}

std::size_t PreviousDateToken(const std::vector<Token>& t, std::size_t i) {
  while (i-- > 0) {
    if (IsDateKind(t[i].kind)) return i;
  }
  return t.size();
}

std::size_t NextDateToken(const std::vector<Token>& t, std::size_t i) {
  for (++i; i < t.size(); ++i) {
    if (IsDateKind(t[i].kind)) return i;
  }
  return t.size();
}

void FinishDateSection(Section& sec) {
  auto& t = sec.tokens;
  // m and mm mean minutes right after hours or right before seconds.
  for (std::size_t i = 0; i < t.size(); ++i) {
    if (t[i].kind != TokenKind::kMonth || t[i].count > 2) continue;
    const std::size_t prev = PreviousDateToken(t, i);
    const std::size_t next = NextDateToken(t, i);
    const bool after_hours = prev < t.size() && (t[prev].kind == TokenKind::kHour ||
                                                 t[prev].kind == TokenKind::kElapsedHours);
    const bool before_seconds = next < t.size() && (t[next].kind == TokenKind::kSecond ||
                                                    t[next].kind == TokenKind::kElapsedSeconds);
    if (after_hours || before_seconds) t[i].kind = TokenKind::kMinute;
  }
  std::vector<Token> out;
  for (std::size_t i = 0; i < t.size(); ++i) {
    const Token& tok = t[i];
    if (tok.kind == TokenKind::kPoint) {
      const bool after_seconds = !out.empty() && (out.back().kind == TokenKind::kSecond ||
                                                  out.back().kind == TokenKind::kElapsedSeconds);
      int zeros = 0;
      while (i + 1 + static_cast<std::size_t>(zeros) < t.size() &&
             t[i + 1 + static_cast<std::size_t>(zeros)].kind == TokenKind::kDigit &&
             t[i + 1 + static_cast<std::size_t>(zeros)].ch == L'0') {
        ++zeros;
      }
      if (after_seconds && zeros > 0) {
        if (zeros > 3) Unusable();
        out.push_back(Simple(TokenKind::kFracSecond, 0, zeros));
        i += static_cast<std::size_t>(zeros);
      } else {
        out.push_back(Literal(L"."));
      }
    } else if (tok.kind == TokenKind::kDigit || tok.kind == TokenKind::kPercent ||
               tok.kind == TokenKind::kExponent || tok.kind == TokenKind::kGeneral) {
      Unusable();
    } else {
      if (tok.kind == TokenKind::kAmPm) sec.twelve_hour = true;
      out.push_back(tok);
    }
  }
  t = std::move(out);
}

void FinishNumberSection(Section& sec) {
  auto& t = sec.tokens;
  std::size_t mantissa_end = t.size();
  for (std::size_t i = 0; i < t.size(); ++i) {
    if (t[i].kind == TokenKind::kExponent) {
      mantissa_end = i;
      break;
    }
  }
  // The first point of the mantissa is the decimal point; later points are shown as '.'.
  std::size_t point = mantissa_end;
  for (std::size_t i = 0; i < mantissa_end; ++i) {
    if (t[i].kind != TokenKind::kPoint) continue;
    if (point == mantissa_end) {
      point = i;
    } else {
      t[i] = Literal(L".");
    }
  }
  for (std::size_t i = mantissa_end; i < t.size(); ++i) {
    if (t[i].kind == TokenKind::kPoint) t[i] = Literal(L".");
  }
  // digits_before[k]: the digit placeholders among the first k tokens, so that each comma's
  // question (a digit before it, a digit after it in its part) takes constant time.
  std::vector<std::size_t> digits_before(t.size() + 1, 0);
  for (std::size_t k = 0; k < t.size(); ++k) {
    digits_before[k + 1] = digits_before[k] + (t[k].kind == TokenKind::kDigit ? 1 : 0);
  }
  const auto digit_between = [&](std::size_t from, std::size_t to) {
    return from < to && digits_before[to] > digits_before[from];
  };
  std::vector<Token> out;
  for (std::size_t i = 0; i < t.size(); ++i) {
    Token tok = t[i];
    if (tok.kind == TokenKind::kLiteral && tok.ch == L',' && i < mantissa_end) {
      const bool before = digit_between(0, i);
      const std::size_t part_end = i < point ? point : mantissa_end;
      const bool after = digit_between(i + 1, part_end);
      if (before && after && i < point) {
        sec.grouping = true;
        continue;
      }
      if (before && !after) {
        ++sec.thousands_scale;
        continue;
      }
      if (before) continue;  // a comma between fraction digits shows nothing
    }
    if (tok.kind == TokenKind::kLiteral && tok.text == L"/" && i < mantissa_end &&
        digit_between(0, i) && digit_between(i + 1, mantissa_end)) {
      Unusable();  // fractions (# ?/?) are not applied by this formatter
    }
    if (tok.kind == TokenKind::kDigit && i < mantissa_end) {
      if (i < point) {
        ++sec.integer_digits;
      } else {
        ++sec.fraction_digits;
      }
    }
    if (tok.kind == TokenKind::kPercent) ++sec.percent;
    if (tok.kind == TokenKind::kExponent) {
      sec.has_exponent = true;
      int digits = 0;
      int zeros = 0;
      while (i + 1 < t.size() && t[i + 1].kind == TokenKind::kDigit) {
        ++digits;
        if (t[i + 1].ch == L'0') ++zeros;
        ++i;
      }
      if (digits == 0) Unusable();
      tok.count = zeros > 0 ? zeros : 1;
    }
    out.push_back(tok);
  }
  if (sec.has_general && (sec.integer_digits + sec.fraction_digits > 0 || sec.has_exponent)) {
    Unusable();
  }
  t = std::move(out);
}

Section ParseSection(std::wstring_view s) {
  Section sec;
  sec.tokens = Tokenize(s);
  for (const Token& tok : sec.tokens) {
    if (IsDateKind(tok.kind)) sec.is_date = true;
    if (tok.kind == TokenKind::kText) sec.is_text = true;
    if (tok.kind == TokenKind::kGeneral) sec.has_general = true;
  }
  if (sec.is_date) {
    FinishDateSection(sec);
  } else {
    FinishNumberSection(sec);
  }
  return sec;
}

}  // namespace

// Sections are split at ';' outside quotes, brackets and '\' escapes.
FormatCode ParseFormatCode(std::wstring_view code) {
  FormatCode out;
  std::size_t start = 0;
  bool in_quote = false;
  bool in_bracket = false;
  for (std::size_t i = 0; i <= code.size(); ++i) {
    if (i == code.size() || (code[i] == L';' && !in_quote && !in_bracket)) {
      if (in_quote || in_bracket) Unusable();
      out.sections.push_back(ParseSection(code.substr(start, i - start)));
      start = i + 1;
      continue;
    }
    const wchar_t c = code[i];
    if (in_quote) {
      if (c == L'"') in_quote = false;
    } else if (in_bracket) {
      if (c == L']') in_bracket = false;
    } else if (c == L'"') {
      in_quote = true;
    } else if (c == L'[') {
      in_bracket = true;
    } else if ((c == L'\\' || c == L'_' || c == L'*') && i + 1 < code.size()) {
      ++i;
    }
  }
  if (out.sections.size() > 4) Unusable();
  return out;
}

}  // namespace harumado::rt::detail
