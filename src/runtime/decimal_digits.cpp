#include "runtime/decimal_digits.h"

#include <array>
#include <charconv>
#include <cmath>

namespace harumado::rt::detail {

// Excel keeps 15 significant digits, so the display rounds the decimal digits of the value at
// 15 digits rather than the exact binary double: 1.225 (stored just below the half) is
// 1.22500000000000 and shows 1.23 with two decimals.
DecimalDigits SignificantDigits(double magnitude) {
  DecimalDigits out;
  magnitude = std::fabs(magnitude);
  if (magnitude == 0 || !std::isfinite(magnitude)) return out;
  std::array<char, 64> buf{};
  auto [end, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), magnitude,
                                 std::chars_format::scientific, 14);
  if (ec != std::errc{}) return out;
  // d.dddddddddddddde[+-]XX
  const char* p = buf.data();
  out.digits += *p++;
  if (*p == '.') ++p;
  while (p != end && *p != 'e') out.digits += *p++;
  int exponent = 0;
  if (p != end) {
    ++p;
    std::from_chars(*p == '+' ? p + 1 : p, end, exponent);
  }
  while (!out.digits.empty() && out.digits.back() == '0') out.digits.pop_back();
  out.point = exponent + 1;
  return out;
}

bool FixedDigits::IsZero() const {
  for (const char c : integer) {
    if (c != '0') return false;
  }
  for (const char c : fraction) {
    if (c != '0') return false;
  }
  return true;
}

FixedDigits RoundFixed(const DecimalDigits& d, int fraction_digits) {
  std::string digits = d.digits;
  int point = d.point;
  const int keep = point + fraction_digits;
  if (keep < static_cast<int>(digits.size())) {
    if (keep < 0) {
      digits.clear();
    } else {
      const bool up = digits[static_cast<std::size_t>(keep)] >= '5';
      digits.resize(static_cast<std::size_t>(keep));
      if (up) {
        int i = keep - 1;
        for (; i >= 0; --i) {
          if (digits[static_cast<std::size_t>(i)] == '9') {
            digits[static_cast<std::size_t>(i)] = '0';
          } else {
            ++digits[static_cast<std::size_t>(i)];
            break;
          }
        }
        if (i < 0) {
          digits.insert(digits.begin(), '1');
          ++point;
        }
      }
    }
  }
  FixedDigits out;
  const auto digit_at = [&](int pos) -> char {
    return pos >= 0 && pos < static_cast<int>(digits.size()) ? digits[static_cast<std::size_t>(pos)]
                                                             : '0';
  };
  for (int pos = 0; pos < point; ++pos) out.integer += digit_at(pos);
  std::size_t lead = 0;
  while (lead < out.integer.size() && out.integer[lead] == '0') ++lead;
  out.integer.erase(0, lead);
  for (int k = 0; k < fraction_digits; ++k) out.fraction += digit_at(point + k);
  return out;
}

}  // namespace harumado::rt::detail
