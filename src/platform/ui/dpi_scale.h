#pragma once
// Lengths at the display scale of a window. The program's own pixel figures are lengths at
// 96 dots per inch and its layouts are in twips; both become pixels at a window's DPI here.
// Screen positions are never scaled.
namespace harumado::ui {

inline constexpr int kBaseDpi = 96;
inline constexpr int kTwipsPerInch = 1440;

// value * numerator / denominator, rounded to the nearest integer with halves away from zero
// (as the system's MulDiv); -1 when the denominator is 0 or the result does not fit.
int MulDiv(int value, int numerator, int denominator);

// A length of `pixels` at 96 dpi, in pixels at `dpi`.
int ScalePixels(int pixels, int dpi);
// A length in twips, in pixels at `dpi`.
int TwipsToPixels(int twips, int dpi);

}  // namespace harumado::ui
