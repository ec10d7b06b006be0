#pragma once
// A double as the spreadsheet sees it for display: its magnitude at 15 significant digits.
#include <string>

namespace harumado::rt::detail {

struct DecimalDigits {
  std::string digits;  // significant digits without leading zeros; empty for zero
  int point = 0;       // the decimal point stands after this many digits (may be <0 or >size)
};

DecimalDigits SignificantDigits(double magnitude);

struct FixedDigits {
  std::string integer;   // integer digits without leading zeros; empty when the integer part is 0
  std::string fraction;  // exactly the requested number of fraction digits
  bool IsZero() const;
};

// Rounds half away from zero to `fraction_digits` decimals.
FixedDigits RoundFixed(const DecimalDigits& d, int fraction_digits);

}  // namespace harumado::rt::detail
