#include "platform/ui/dpi_scale.h"

#include <cstdint>
#include <limits>

namespace harumado::ui {

int MulDiv(int value, int numerator, int denominator) {
  if (denominator == 0) return -1;
  const std::int64_t product = static_cast<std::int64_t>(value) * numerator;
  std::int64_t quotient = product / denominator;
  const std::int64_t rest = product % denominator;
  const std::int64_t twice_rest = rest < 0 ? -2 * rest : 2 * rest;
  const std::int64_t divisor = denominator < 0 ? -static_cast<std::int64_t>(denominator)
                                               : static_cast<std::int64_t>(denominator);
  if (twice_rest >= divisor) quotient += (product < 0) == (denominator < 0) ? 1 : -1;
  if (quotient > std::numeric_limits<int>::max() || quotient < std::numeric_limits<int>::min()) {
    return -1;
  }
  return static_cast<int>(quotient);
}

int ScalePixels(int pixels, int dpi) { return MulDiv(pixels, dpi, kBaseDpi); }

int TwipsToPixels(int twips, int dpi) { return MulDiv(twips, dpi, kTwipsPerInch); }

}  // namespace harumado::ui
