#include "core/workbook/workbook_path.h"

#include "platform/program_path.h"

namespace harumado::workbook {

namespace {
constexpr wchar_t kDefaultExtension[] = L".xlsx";
}

// A name may hold several dots ("a.b.xls"); only the last one starts the extension.
std::size_t DotPosition(const std::wstring& typed) {
  const std::size_t at = typed.rfind(L'.');
  return at == std::wstring::npos ? 0 : at + 1;
}

std::wstring Extension(const std::wstring& typed) {
  const std::size_t dot = DotPosition(typed);
  return dot == 0 ? std::wstring() : typed.substr(dot);
}

// A name without a dot gets ".xlsx"; a name with one is taken as typed, whatever follows the
// dot (the start/stop button refuses extensions it cannot save before this is used).
std::wstring WorkbookName(const std::wstring& typed) {
  return DotPosition(typed) == 0 ? typed + kDefaultExtension : typed;
}

// The Desktop folder is read by the caller at the moment it needs the path, so a path is never
// kept across a change of Text3 or of the folder.
std::wstring WorkbookPath(const std::wstring& desktop_folder, const std::wstring& typed) {
  return platform::JoinPath(desktop_folder, WorkbookName(typed));
}

}  // namespace harumado::workbook
