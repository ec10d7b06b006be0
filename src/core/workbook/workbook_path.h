#pragma once
// The workbook named in the file-name field Text3: its file name and its path on the Desktop.
#include <cstddef>
#include <string>

namespace harumado::workbook {

// 1-based position of the last "." of the typed name; 0 when it has none.
std::size_t DotPosition(const std::wstring& typed);
// The text after the last "." of the typed name; empty when it has none.
std::wstring Extension(const std::wstring& typed);
// The typed name, followed by ".xlsx" when it has no ".".
std::wstring WorkbookName(const std::wstring& typed);
// desktop_folder & "\" & WorkbookName(typed).
std::wstring WorkbookPath(const std::wstring& desktop_folder, const std::wstring& typed);

}  // namespace harumado::workbook
