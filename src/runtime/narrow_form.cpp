#include "runtime/narrow_form.h"

#include <array>
#include <utility>

namespace harumado::rt {
namespace {

// Full-width katakana U+30A1..U+30F6 to half-width forms; a voiced or semi-voiced kana becomes
// its base kana followed by the sound mark.
constexpr std::wstring_view kKatakana[] = {
    L"ｧ",  L"ｱ",  L"ｨ",  L"ｲ",  L"ｩ",  L"ｳ",  L"ｪ",  L"ｴ",  L"ｫ",  L"ｵ",  L"ｶ",  L"ｶﾞ", L"ｷ",
    L"ｷﾞ", L"ｸ",  L"ｸﾞ", L"ｹ",  L"ｹﾞ", L"ｺ",  L"ｺﾞ", L"ｻ",  L"ｻﾞ", L"ｼ",  L"ｼﾞ", L"ｽ",  L"ｽﾞ",
    L"ｾ",  L"ｾﾞ", L"ｿ",  L"ｿﾞ", L"ﾀ",  L"ﾀﾞ", L"ﾁ",  L"ﾁﾞ", L"ｯ",  L"ﾂ",  L"ﾂﾞ", L"ﾃ",  L"ﾃﾞ",
    L"ﾄ",  L"ﾄﾞ", L"ﾅ",  L"ﾆ",  L"ﾇ",  L"ﾈ",  L"ﾉ",  L"ﾊ",  L"ﾊﾞ", L"ﾊﾟ", L"ﾋ",  L"ﾋﾞ", L"ﾋﾟ",
    L"ﾌ",  L"ﾌﾞ", L"ﾌﾟ", L"ﾍ",  L"ﾍﾞ", L"ﾍﾟ", L"ﾎ",  L"ﾎﾞ", L"ﾎﾟ", L"ﾏ",  L"ﾐ",  L"ﾑ",  L"ﾒ",
    L"ﾓ",  L"ｬ",  L"ﾔ",  L"ｭ",  L"ﾕ",  L"ｮ",  L"ﾖ",  L"ﾗ",  L"ﾘ",  L"ﾙ",  L"ﾚ",  L"ﾛ",  L"ﾜ",
    L"ﾜ",  L"ｲ",  L"ｴ",  L"ｦ",  L"ﾝ",  L"ｳﾞ", L"ｶ",  L"ｹ"};

constexpr std::pair<wchar_t, wchar_t> kSigns[] = {
    {L'\u3000', L' '}, {L'、', L'､'}, {L'。', L'｡'}, {L'「', L'｢'}, {L'」', L'｣'},
    {L'・', L'･'},     {L'ー', L'ｰ'}, {L'゛', L'ﾞ'}, {L'゜', L'ﾟ'}, {L'￥', L'\\'},
    {L'’', L'\''},     {L'”', L'"'},  {L'‘', L'`'}};

}  // namespace

std::wstring ToNarrow(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (wchar_t c : text) {
    if (c >= 0xFF01 && c <= 0xFF5E) {
      out.push_back(static_cast<wchar_t>(c - 0xFF01 + 0x21));
      continue;
    }
    if (c >= 0x30A1 && c <= 0x30F6) {
      out.append(kKatakana[c - 0x30A1]);
      continue;
    }
    bool mapped = false;
    for (const auto& [wide, narrow] : kSigns) {
      if (c == wide) {
        out.push_back(narrow);
        mapped = true;
        break;
      }
    }
    if (!mapped) out.push_back(c);
  }
  return out;
}

}  // namespace harumado::rt
