#pragma once
// The texts of the z-order choice (Check4): its tooltip for each state.
#include <string_view>

namespace harumado::ui {

inline constexpr std::wstring_view kTopmostTooltip = L"フォーム[最前面]";
inline constexpr std::wstring_view kBottommostTooltip = L"フォーム[最背面]";

constexpr std::wstring_view ZOrderTooltip(bool topmost) {
  return topmost ? kTopmostTooltip : kBottommostTooltip;
}

}  // namespace harumado::ui
