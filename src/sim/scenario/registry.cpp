#include "sim/scenario/registry.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>

#include "sim/scenario/runner.h"

namespace harumado::sim::scenario {

StatementError::StatementError(const std::wstring& r) : std::runtime_error(ToUtf8(r)), reason(r) {}

const Token& Args::Peek() const {
  if (done()) throw StatementError(L"more arguments expected");
  return t_[pos_];
}

bool Args::PeekWord(const std::wstring& w) const {
  return !done() && t_[pos_].kind == Token::Kind::kWord && t_[pos_].text == w;
}

bool Args::TakeWord(const std::wstring& w) {
  if (!PeekWord(w)) return false;
  ++pos_;
  return true;
}

std::wstring Args::Word() {
  const Token& t = Peek();
  if (t.kind == Token::Kind::kString) throw StatementError(L"a word expected, got a string");
  ++pos_;
  return t.text;
}

std::wstring Args::String() {
  const Token& t = Peek();
  if (t.kind != Token::Kind::kString)
    throw StatementError(L"a string expected, got '" + t.text + L"'");
  ++pos_;
  return t.text;
}

double Args::Number() {
  const Token& t = Peek();
  if (t.kind != Token::Kind::kNumber)
    throw StatementError(L"a number expected, got '" + t.text + L"'");
  ++pos_;
  return t.number;
}

int Args::Int() {
  const double d = Number();
  if (d != std::floor(d)) throw StatementError(L"a whole number expected");
  // Beyond the range of int the conversion would be undefined.
  if (d < -2147483648.0 || d > 2147483647.0) {
    throw StatementError(L"a whole number from -2147483648 to 2147483647 expected");
  }
  return static_cast<int>(d);
}

namespace {

// "R,G,B", each part a whole number from 0 to 255, nothing after it.
std::optional<ui::Color> ParseColor(std::string_view s) {
  int parts[3] = {0, 0, 0};
  const char* p = s.data();
  const char* const end = p + s.size();
  for (int i = 0; i < 3; ++i) {
    if (i > 0) {
      if (p == end || *p != ',') return std::nullopt;
      ++p;
    }
    const auto [next, error] = std::from_chars(p, end, parts[i]);
    if (error != std::errc() || parts[i] < 0 || parts[i] > 255) return std::nullopt;
    p = next;
  }
  if (p != end) return std::nullopt;
  return ui::Color{static_cast<std::uint8_t>(parts[0]), static_cast<std::uint8_t>(parts[1]),
                   static_cast<std::uint8_t>(parts[2])};
}

}  // namespace

ui::Color Args::Color() {
  const Token& t = Peek();
  const std::optional<ui::Color> color =
      t.kind == Token::Kind::kString ? std::nullopt : ParseColor(ToUtf8(t.text));
  if (!color) throw StatementError(L"a colour R,G,B expected, got '" + t.text + L"'");
  ++pos_;
  return *color;
}

std::pair<int, int> Args::Cell() {
  const Token& t = Peek();
  auto cell = t.kind == Token::Kind::kWord ? ParseCell(t.text) : std::nullopt;
  if (!cell) throw StatementError(L"a cell such as C3 expected, got '" + t.text + L"'");
  ++pos_;
  return *cell;
}

const Token& Args::Any() {
  const Token& t = Peek();
  ++pos_;
  return t;
}

void Args::End() {
  if (!done()) throw StatementError(L"unexpected '" + t_[pos_].text + L"'");
}

std::optional<std::pair<int, int>> ParseCell(const std::wstring& a1) {
  std::size_t i = 0;
  long column = 0;
  while (i < a1.size() && a1[i] >= L'A' && a1[i] <= L'Z') {
    column = column * 26 + (a1[i] - L'A' + 1);
    if (column > 16384) return std::nullopt;
    ++i;
  }
  if (i == 0 || i == a1.size()) return std::nullopt;
  long row = 0;
  for (; i < a1.size(); ++i) {
    if (a1[i] < L'0' || a1[i] > L'9') return std::nullopt;
    row = row * 10 + (a1[i] - L'0');
    if (row > 1048576) return std::nullopt;
  }
  if (row < 1) return std::nullopt;
  return std::make_pair(static_cast<int>(row), static_cast<int>(column));
}

std::wstring CellName(int row, int column) {
  std::wstring letters;
  while (column > 0) {
    const int rem = (column - 1) % 26;
    letters.insert(letters.begin(), static_cast<wchar_t>(L'A' + rem));
    column = (column - 1) / 26;
  }
  return letters + std::to_wstring(row);
}

std::wstring ColorText(const ui::Color& c) {
  return std::to_wstring(c.r) + L"," + std::to_wstring(c.g) + L"," + std::to_wstring(c.b);
}

std::wstring Quote(const std::wstring& s) { return L"\"" + s + L"\""; }

std::wstring NumberText(double d) {
  if (d == std::floor(d) && std::fabs(d) < 1e15) return std::to_wstring(static_cast<long long>(d));
  wchar_t buf[64];
  std::swprintf(buf, 64, L"%.15g", d);
  return buf;
}

std::string ScenarioBytes(const std::wstring& s) {
  std::string out;
  for (wchar_t c : s) {
    if (static_cast<unsigned>(c) < 256) {
      out.push_back(static_cast<char>(c));
    } else {
      out += ToUtf8(std::wstring(1, c));
    }
  }
  return out;
}

std::wstring EscapedBytes(const std::string& bytes) {
  std::wstring out = L"\"";
  for (char byte : bytes) {
    const wchar_t c = static_cast<wchar_t>(static_cast<unsigned char>(byte));
    switch (c) {
      case L'\r':
        out += L"\\r";
        break;
      case L'\n':
        out += L"\\n";
        break;
      case L'\t':
        out += L"\\t";
        break;
      case L'"':
        out += L"\\\"";
        break;
      case L'\\':
        out += L"\\\\";
        break;
      default:
        out.push_back(c);
    }
  }
  return out + L"\"";
}

void ExpectEqual(Runner& r, const std::wstring& what, const std::wstring& expected,
                 const std::wstring& got) {
  if (expected != got) r.Fail(what.empty() ? expected : what + L" " + expected, got);
}

}  // namespace harumado::sim::scenario
