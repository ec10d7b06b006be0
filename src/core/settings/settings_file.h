#pragma once
// The settings file "Harumado.dat" beside the program file: one line of five integers.
#include <cstdint>
#include <string>

#include "runtime/value.h"

namespace harumado::platform {
class Files;
class Shell;
}  // namespace harumado::platform

namespace harumado::settings {

inline constexpr std::wstring_view kFileName = L"Harumado.dat";

struct SavedSettings {
  rt::Value left;  // as found: a number or a text; empty when not read
  rt::Value top;
  std::int32_t wrap_count = 0;
  std::int32_t paste_mode = 0;
  std::int32_t topmost = 0;
  int fields_read = 0;  // reading stops at the end of the file
};

// Where the settings file is read from: beside the program file, or in the fallback folder when
// it is only there. The writer's own choice is in settings_writer.
std::wstring SettingsReadPath(platform::Shell& shell, platform::Files& files);
std::wstring SettingsPathIn(const std::wstring& folder);

// Reads up to five fields as the text-input statement does: fields end at a comma or a line end,
// blanks around them and double quotes are ignored, a field that is not a number gives 0 for the
// integer fields. Fewer than five fields leave the rest at their defaults.
SavedSettings ParseSettings(const std::string& bytes);

}  // namespace harumado::settings
