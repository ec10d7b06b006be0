#pragma once
// The three windows as they are when created: every control with its data.
#include <memory>

#include "platform/ui/window.h"

namespace harumado::ui {

std::unique_ptr<Window> MakeMainWindowLayout();    // Form1
std::unique_ptr<Window> MakeUsageWindowLayout();   // Form2
std::unique_ptr<Window> MakeSpeechWindowLayout();  // Form3

namespace colors {
inline constexpr Color kLightGreen{192, 255, 192};
inline constexpr Color kMediumGreen{128, 255, 128};
inline constexpr Color kLightYellow{255, 255, 192};
inline constexpr Color kCyan{0, 255, 255};
inline constexpr Color kBlue{0, 0, 255};
inline constexpr Color kTextGreen{0, 192, 0};
inline constexpr Color kGreen{0, 255, 0};
inline constexpr Color kYellow{255, 255, 0};
inline constexpr Color kErrorRed{238, 119, 119};
}  // namespace colors

}  // namespace harumado::ui
