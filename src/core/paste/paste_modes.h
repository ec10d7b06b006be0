#pragma once
// The four paste modes: number in the settings file, caption of Check2, ModeFlag, message.
#include <cstdint>
#include <string>
#include <string_view>

namespace harumado::paste {

struct PasteModeInfo {
  std::int32_t number;
  std::wstring_view caption;
  std::int32_t mode_flag;
  std::wstring_view message;
};

inline constexpr PasteModeInfo kPasteModes[] = {
    {1, L"整数", 1, L"小数点以下(四捨五入)カンマなしで貼り付けます。"},
    {2, L"数値", 0, L"データを[数値データ]として貼り付けます。"},
    {3, L"画像", 1, L"画像を元のサイズのまま貼り付けます。"},
    {4, L"画像\u25A1", 0, L"画像をセルサイズに合わせて縮小貼り付けます。"},
};

// The mode whose caption is exactly this text, or nullptr.
const PasteModeInfo* FindModeByCaption(std::wstring_view caption);
// The mode with this settings-file number (1 to 4), or nullptr.
const PasteModeInfo* FindModeByNumber(std::int32_t number);

}  // namespace harumado::paste
