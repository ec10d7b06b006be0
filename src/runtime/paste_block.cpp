#include "runtime/paste_block.h"

namespace harumado::rt {

std::vector<std::vector<std::wstring>> SplitPasteBlock(std::wstring_view text) {
  // The line end that closes the last line opens no new row.
  if (text.size() >= 2 && text.substr(text.size() - 2) == L"\r\n") {
    text.remove_suffix(2);
  } else if (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) {
    text.remove_suffix(1);
  }
  std::vector<std::vector<std::wstring>> rows(1, std::vector<std::wstring>(1));
  for (std::size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (c == L'\t') {
      rows.back().emplace_back();
    } else if (c == L'\r' || c == L'\n') {
      if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
      rows.emplace_back(1);
    } else {
      rows.back().back().push_back(c);
    }
  }
  return rows;
}

}  // namespace harumado::rt
