#pragma once
// The file formats a new workbook is saved in, chosen by the extension of the typed name.
#include <optional>
#include <string>

namespace harumado::workbook {

// Excel's file format number for a new workbook with this typed name: 51 for a name without
// an extension and for "xlsx", 52 "xlsm", 50 "xlsb", 56 "xls"; nothing for any other extension.
std::optional<int> SaveFileFormat(const std::wstring& typed);

}  // namespace harumado::workbook
