#include "runtime/column_width.h"

#include <cmath>

namespace harumado::rt {
namespace {

constexpr double kPixelsPerCharacter = 8;
constexpr double kPaddingPixels = 5;
constexpr double kPointsPerPixel = 0.75;

}  // namespace

double ColumnPoints(double characters) {
  if (characters <= 0) return 0;
  return std::round(kPixelsPerCharacter * characters + kPaddingPixels) * kPointsPerPixel;
}

// A column narrower than its padding shows no character at all.
double ColumnCharacters(double points) {
  const double pixels = std::round(points / kPointsPerPixel);
  if (pixels <= kPaddingPixels) return 0;
  return std::round((pixels - kPaddingPixels) / kPixelsPerCharacter * 100) / 100;
}

}  // namespace harumado::rt
