#include "core/workbook/save_format.h"

#include <string_view>

#include "core/workbook/workbook_path.h"
#include "platform/spreadsheet_host.h"

namespace harumado::workbook {

namespace {

struct SavedExtension {
  std::wstring_view extension;
  int file_format;
};

// The extensions the program can create. The start/stop button accepts exactly these (and a
// name without extension), so a validated name always has a format here.
constexpr SavedExtension kSavedExtensions[] = {
    {L"xlsx", platform::file_format::kXlsx},
    {L"xlsm", platform::file_format::kXlsm},
    {L"xlsb", platform::file_format::kXlsb},
    {L"xls", platform::file_format::kXls},
};

}  // namespace

// The comparison is exact: "XLSX" or "Xls" name no format.
std::optional<int> SaveFileFormat(const std::wstring& typed) {
  if (DotPosition(typed) == 0) return platform::file_format::kXlsx;
  const std::wstring extension = Extension(typed);
  for (const auto& saved : kSavedExtensions) {
    if (saved.extension == extension) return saved.file_format;
  }
  return std::nullopt;
}

}  // namespace harumado::workbook
