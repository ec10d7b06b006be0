#pragma once
// Whether a typed workbook name makes a file directly in the Desktop folder: a plain file name
// that Windows keeps as it is, and a full path that Excel accepts.
#include <cstddef>
#include <string>

namespace harumado::workbook {

// Excel opens and saves no workbook whose full path is longer than this (UTF-16 code units).
inline constexpr std::size_t kLongestWorkbookPath = 218;

// False for a name that would leave the Desktop folder or is no file name there: a path
// separator, a drive or a share (any of \ / : * ? " < > |), a control character, a reserved
// device name (con, aux.xlsx, NUL, COM1, ... in any case, with or without extension), a name
// that Windows would shorten (ending in a dot or a blank), or a full path longer than Excel
// accepts. The name is taken as the program uses it: with ".xlsx" when it has no ".". An empty
// name is not judged here (the start/stop button asks for a name).
bool IsDesktopFileName(const std::wstring& desktop_folder, const std::wstring& typed);

}  // namespace harumado::workbook
