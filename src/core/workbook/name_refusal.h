#pragma once
// Refusing a typed workbook name that makes no file on the Desktop.
#include <string>

namespace harumado::app {
class Form1;
}

namespace harumado::workbook {

// When Text3 holds no Desktop file name: Text2 shows why in blue, the focus goes to Text3 and
// the result is true; nothing else changes. False, and nothing shown, for a usable name.
bool RefuseUnusableName(app::Form1& form, const std::wstring& desktop_folder);

// When the workbook named in Text3 does not exist yet and the spreadsheet host cannot write its
// file format: Text2 says so in blue, the focus goes to Text3 and the result is true; nothing is
// created and nothing else changes. An existing file of that format opens as any other.
bool RefuseUncreatableFormat(app::Form1& form, const std::wstring& desktop_folder);

}  // namespace harumado::workbook
