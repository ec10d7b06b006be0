#pragma once
// The message of the start/stop press's error trap.
#include <cstdint>
#include <string>

namespace harumado::app {
class Form1;
}

namespace harumado::workbook {

// Text2 in error red, then the message for this error number; desktop_folder is empty when the
// error came before the press read it.
void ShowPressError(app::Form1& form, std::int32_t number, const std::wstring& desktop_folder);

}  // namespace harumado::workbook
