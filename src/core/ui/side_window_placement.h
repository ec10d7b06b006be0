#pragma once
// Where the side windows stand beside the main window (outer rectangles, screen pixels).
namespace harumado::ui::placement {

// The usage window: right of the main window, top edges level.
inline constexpr int kUsageDx = 270;
inline constexpr int kUsageDy = 0;
inline constexpr int kUsageWidth = 537;
inline constexpr int kUsageHeight = 826;

// The speech window: below the main window, left edges level.
inline constexpr int kSpeechDx = 0;
inline constexpr int kSpeechDy = 125;
inline constexpr int kSpeechWidth = 195;
inline constexpr int kSpeechHeight = 93;

// Follow-up interval of Timer1 and Timer2, ms.
inline constexpr int kFollowInterval = 10;

}  // namespace harumado::ui::placement
