#include "core/settings/settings_writer.h"

#include "core/paste/paste_modes.h"
#include "core/settings/settings_file.h"
#include "platform/files.h"
#include "platform/shell.h"
#include "runtime/automation_error.h"

namespace harumado::settings {
namespace {

constexpr std::wstring_view kTemporarySuffix = L".tmp";

// The temporary file beside the settings file. It is removed again unless it has been moved into
// place, so a failed write leaves nothing behind; the old settings file is never touched before
// the new content is complete.
class TemporaryFile {
 public:
  TemporaryFile(platform::Files& files, std::wstring path)
      : files_(files), path_(std::move(path)) {}
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (!written_ || moved_) return;
    try {
      files_.Delete(path_);
    } catch (const rt::AutomationError&) {
      // A leftover temporary file is harmless: the next write truncates it.
    }
  }

  void Write(const std::string& bytes) {
    written_ = true;  // a failed write may still have created the file
    files_.Write(path_, bytes);
  }
  void MoveTo(const std::wstring& target) {
    files_.Replace(path_, target);
    moved_ = true;
  }

 private:
  platform::Files& files_;
  std::wstring path_;
  bool written_ = false;
  bool moved_ = false;
};

void ReplaceIn(platform::Files& files, const std::wstring& target, const std::string& bytes) {
  TemporaryFile temporary(files, TemporaryPathFor(target));
  temporary.Write(bytes);
  temporary.MoveTo(target);
}

// Once the settings stand beside the program again, a copy left in the fallback folder by an
// earlier run is out of date; start-up prefers the fallback copy, so it must not stay.
void RemoveStaleFallback(platform::Files& files) {
  const std::wstring fallback = files.FallbackFolder();
  if (fallback.empty()) return;
  const std::wstring other = SettingsPathIn(fallback);
  try {
    if (files.NormalFileExists(other)) files.Delete(other);
  } catch (const rt::AutomationError&) {
    // Left as it is; the settings beside the program are written all the same.
  }
}

}  // namespace

// Check2 is normally always ticked; an unticked box or a caption outside the table keeps the
// value read at start-up (or 0).
std::int32_t PasteModeFromCheck2(int value, std::wstring_view caption, std::int32_t current) {
  if (value != 1) return current;
  const paste::PasteModeInfo* mode = paste::FindModeByCaption(caption);
  return mode != nullptr ? mode->number : current;
}

// A grayed box (any value but 0 and 1) keeps the value.
std::int32_t TopmostFromCheck4(int value, std::int32_t current) {
  if (value == 0) return 0;
  if (value == 1) return 1;
  return current;
}

// Plain decimal: no leading zeros, no plus sign, a minus sign for a window left of or above the
// primary screen; no blanks, no quotes, exactly one CR LF.
std::string SettingsBytes(const SettingsToSave& v) {
  std::string line;
  for (std::int32_t field : {v.left, v.top, v.wrap_count, v.paste_mode, v.topmost}) {
    if (!line.empty()) line += ',';
    line += std::to_string(field);
  }
  return line + "\r\n";
}

std::wstring TemporaryPathFor(const std::wstring& path) {
  return path + std::wstring(kTemporarySuffix);
}

// The new content goes to a temporary file in the same folder and is on the disk, the file
// closed, before it replaces the old file in one step (a power loss cannot leave an empty
// settings file); whatever fails, the flush and the close included, the old file stays as it was
// and the temporary file goes. When the program's folder takes no
// file at all (no rights there), the file goes to the fallback folder, where start-up also looks.
// A folder that takes the temporary file but refuses the replacement (the old file is locked)
// is not a reason to move elsewhere: that failure ends the write.
std::wstring WriteSettings(platform::Shell& shell, platform::Files& files,
                           const SettingsToSave& values) {
  const std::string bytes = SettingsBytes(values);
  const std::wstring beside = SettingsPathIn(shell.ProgramFolder());
  {
    TemporaryFile temporary(files, TemporaryPathFor(beside));
    try {
      temporary.Write(bytes);
    } catch (const rt::AutomationError&) {
      const std::wstring fallback = files.FallbackFolder();
      if (fallback.empty()) throw;
      const std::wstring other = SettingsPathIn(fallback);
      ReplaceIn(files, other, bytes);
      return other;
    }
    temporary.MoveTo(beside);
  }
  RemoveStaleFallback(files);
  return beside;
}

}  // namespace harumado::settings
