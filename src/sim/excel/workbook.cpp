#include "sim/excel/workbook.h"

#include "runtime/ascii_case.h"

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
  return rt::EqualsIgnoringAsciiCase(a, b);
}

}  // namespace harumado::sim
