#include <string>

#include "runtime/conversions.h"
#include "runtime/decimal_digits.h"
#include "runtime/section_render.h"

namespace harumado::rt::detail {

namespace {

int FloorDiv(int a, int b) {
  int q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

// Lays the integer digits into the integer placeholders from the right: each placeholder takes
// one digit, the leftmost also takes every digit left over (a number is never cut on the
// left). A placeholder without a digit shows '0' for 0, a space for ?, nothing for #.
// Grouping puts ',' after every digit whose position from the right is a multiple of three.
class IntegerWriter {
 public:
  IntegerWriter(const std::string& digits, int placeholders, bool grouping, std::wstring& out)
      : digits_(digits), placeholders_(placeholders), grouping_(grouping), out_(out) {}

  void Placeholder(wchar_t kind) {
    const int position = placeholders_ - 1 - seen_;
    if (seen_ == 0) {
      for (int pos = static_cast<int>(digits_.size()) - 1; pos > position; --pos) Digit(pos, kind);
    }
    ++seen_;
    Digit(position, kind);
  }

  // All digits, for a code that has a point but no integer placeholder (".00" shows 12.50).
  void All() {
    for (int pos = static_cast<int>(digits_.size()) - 1; pos >= 0; --pos) Digit(pos, L'0');
  }

 private:
  void Digit(int pos, wchar_t kind) {
    const bool have = pos < static_cast<int>(digits_.size());
    wchar_t shown = 0;
    if (have) {
      shown = static_cast<wchar_t>(digits_[digits_.size() - 1 - static_cast<std::size_t>(pos)]);
    } else if (kind == L'0') {
      shown = L'0';
    } else if (kind == L'?') {
      shown = L' ';
    } else {
      return;
    }
    out_ += shown;
    if (grouping_ && pos > 0 && pos % 3 == 0) out_ += shown == L' ' ? L' ' : L',';
  }

  const std::string& digits_;
  int placeholders_;
  bool grouping_;
  std::wstring& out_;
  int seen_ = 0;
};

// The fraction digits after rounding; trailing zeros show as '0' under 0, a space under ?,
// nothing under #. The point itself is always shown, so 123 under "#,##0.###" is "123.".
class FractionWriter {
 public:
  FractionWriter(const std::string& digits, std::wstring& out) : digits_(digits), out_(out) {
    last_significant_ = static_cast<int>(digits_.size()) - 1;
    while (last_significant_ >= 0 && digits_[static_cast<std::size_t>(last_significant_)] == '0') {
      --last_significant_;
    }
  }

  void Placeholder(wchar_t kind) {
    const int j = seen_++;
    if (j <= last_significant_) {
      out_ += static_cast<wchar_t>(digits_[static_cast<std::size_t>(j)]);
    } else if (kind == L'0') {
      out_ += L'0';
    } else if (kind == L'?') {
      out_ += L' ';
    }
  }

 private:
  const std::string& digits_;
  std::wstring& out_;
  int last_significant_ = -1;
  int seen_ = 0;
};

struct Scientific {
  FixedDigits mantissa;
  int exponent = 0;
};

// The exponent makes the mantissa fill the integer placeholders ("0.00E+00": one digit). When
// the integer placeholders start with # or ?, the exponent is a multiple of their count
// ("##0.0E+0" gives engineering notation).
Scientific ToScientific(double value, const Section& sec, bool engineering) {
  const DecimalDigits d = SignificantDigits(value);
  Scientific out;
  if (d.digits.empty()) {
    out.mantissa = RoundFixed(d, sec.fraction_digits);
    return out;
  }
  const int k = sec.integer_digits;
  int e = 0;
  if (k == 0) {
    e = d.point;
  } else if (engineering) {
    e = FloorDiv(d.point - 1, k) * k;
  } else {
    e = d.point - 1 - (k - 1);
  }
  for (int attempt = 0; attempt < 2; ++attempt) {
    DecimalDigits shifted = d;
    shifted.point = d.point - e;
    out.mantissa = RoundFixed(shifted, sec.fraction_digits);
    out.exponent = e;
    if (static_cast<int>(out.mantissa.integer.size()) <= k) break;
    e += engineering ? k : 1;  // rounding carried into a new digit (9.995 -> 10.00)
  }
  return out;
}

std::wstring ExponentText(const Token& tok, int exponent) {
  std::wstring out = L"E";
  if (exponent < 0) {
    out += L'-';
  } else if (tok.ch == L'+') {
    out += L'+';
  }
  std::wstring digits = std::to_wstring(exponent < 0 ? -exponent : exponent);
  if (static_cast<int>(digits.size()) < tok.count) {
    out.append(static_cast<std::size_t>(tok.count) - digits.size(), L'0');
  }
  return out + digits;
}

bool StartsWithHashOrQuestion(const Section& sec) {
  for (const Token& tok : sec.tokens) {
    if (tok.kind == TokenKind::kDigit) return tok.ch != L'0';
    if (tok.kind == TokenKind::kPoint || tok.kind == TokenKind::kExponent) break;
  }
  return false;
}

}  // namespace

std::wstring RenderNumberSection(const Section& sec, double magnitude, bool minus) {
  std::wstring out;
  if (sec.has_general) {
    for (const Token& tok : sec.tokens) {
      if (tok.kind == TokenKind::kGeneral) out += NumberText(magnitude);
      if (tok.kind == TokenKind::kLiteral) out += tok.text;
      if (tok.kind == TokenKind::kPercent) out += L'%';
    }
    return (minus && magnitude != 0) ? L"-" + out : out;
  }

  double value = magnitude;
  for (int i = 0; i < sec.percent; ++i) value *= 100.0;
  for (int i = 0; i < sec.thousands_scale; ++i) value /= 1000.0;

  Scientific sci;
  if (sec.has_exponent) {
    sci = ToScientific(value, sec, sec.integer_digits > 1 && StartsWithHashOrQuestion(sec));
  } else {
    sci.mantissa = RoundFixed(SignificantDigits(value), sec.fraction_digits);
  }
  const FixedDigits& fixed = sci.mantissa;

  IntegerWriter integer(fixed.integer, sec.integer_digits, sec.grouping, out);
  FractionWriter fraction(fixed.fraction, out);
  bool after_point = false;
  bool in_exponent = false;
  for (const Token& tok : sec.tokens) {
    switch (tok.kind) {
      case TokenKind::kDigit:
        if (in_exponent) break;
        if (after_point) {
          fraction.Placeholder(tok.ch);
        } else {
          integer.Placeholder(tok.ch);
        }
        break;
      case TokenKind::kPoint:
        if (sec.integer_digits == 0) integer.All();
        out += L'.';
        after_point = true;
        break;
      case TokenKind::kPercent:
        out += L'%';
        break;
      case TokenKind::kExponent:
        if (sec.integer_digits == 0 && !after_point) integer.All();
        out += ExponentText(tok, sci.exponent);
        in_exponent = true;
        break;
      case TokenKind::kLiteral:
        out += tok.text;
        break;
      default:
        break;
    }
  }
  return (minus && !fixed.IsZero()) ? L"-" + out : out;
}

std::wstring RenderTextSection(const Section& sec, std::wstring_view text) {
  std::wstring out;
  for (const Token& tok : sec.tokens) {
    if (tok.kind == TokenKind::kText) out += text;
    if (tok.kind == TokenKind::kLiteral) out += tok.text;
  }
  return out;
}

}  // namespace harumado::rt::detail
