#pragma once
// Writing the settings file at shutdown: the line of five integers, put in place in one step.
#include <cstdint>
#include <string>
#include <string_view>

namespace harumado::platform {
class Files;
class Shell;
}  // namespace harumado::platform

namespace harumado::settings {

struct SettingsToSave {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t wrap_count = 0;
  std::int32_t paste_mode = 0;
  std::int32_t topmost = 0;
};

// The values carried into the file from Check2 and Check4; `current` is kept otherwise.
std::int32_t PasteModeFromCheck2(int value, std::wstring_view caption, std::int32_t current);
std::int32_t TopmostFromCheck4(int value, std::int32_t current);

// "left,top,wrap,mode,topmost" in plain decimal, then CR LF.
std::string SettingsBytes(const SettingsToSave& values);

// The temporary file that a new content is written to before it replaces the settings file.
std::wstring TemporaryPathFor(const std::wstring& path);

// Replaces the settings file beside the program (or in the fallback folder when the program's
// folder cannot be written) with the values; returns the path written. Throws
// rt::AutomationError when the file cannot be written; the old file is then unchanged.
std::wstring WriteSettings(platform::Shell& shell, platform::Files& files,
                           const SettingsToSave& values);

}  // namespace harumado::settings
