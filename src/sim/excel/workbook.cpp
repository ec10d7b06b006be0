#include "sim/excel/workbook.h"

namespace harumado::sim {

SimWorkbook::SimWorkbook(std::wstring name, std::wstring path)
    : name_(std::move(name)), path_(std::move(path)) {
  sheets_.push_back(std::make_shared<SimSheet>());
}

void SimWorkbook::SavedAs(const std::wstring& path) {
  path_ = path;
  name_ = FileNameOf(path);
}

std::wstring FileNameOf(const std::wstring& path) {
  const auto slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

bool SameWorkbookName(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    wchar_t x = a[i];
    wchar_t y = b[i];
    if (x >= L'A' && x <= L'Z') x = static_cast<wchar_t>(x - L'A' + L'a');
    if (y >= L'A' && y <= L'Z') y = static_cast<wchar_t>(y - L'A' + L'a');
    if (x != y) return false;
  }
  return true;
}

}  // namespace harumado::sim
