#include <optional>

#include "core/settings/settings_file.h"
#include "platform/files.h"
#include "platform/program_path.h"
#include "platform/shell.h"
#include "runtime/automation_error.h"
#include "runtime/conversions.h"

namespace harumado::settings {
namespace {

// The next field of the line-oriented input, or nothing at the end of the file.
std::optional<std::wstring> NextField(const std::string& bytes, std::size_t& pos) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (pos < bytes.size() && (blank(bytes[pos]) || bytes[pos] == '\r' || bytes[pos] == '\n')) {
    ++pos;
  }
  if (pos >= bytes.size()) return std::nullopt;
  std::wstring field;
  while (pos < bytes.size() && bytes[pos] != ',' && bytes[pos] != '\r' && bytes[pos] != '\n') {
    if (bytes[pos] != '"') field.push_back(static_cast<unsigned char>(bytes[pos]));
    ++pos;
  }
  if (pos < bytes.size()) {
    // A CR LF pair ends one field only.
    if (bytes[pos] == '\r' && pos + 1 < bytes.size() && bytes[pos + 1] == '\n') ++pos;
    ++pos;
  }
  while (!field.empty() && (field.back() == L' ' || field.back() == L'\t')) field.pop_back();
  return field;
}

std::int32_t IntegerField(const std::wstring& field) {
  try {
    return rt::ToInt32(field);
  } catch (const rt::AutomationError&) {
    return 0;
  }
}

rt::Value UntypedField(const std::wstring& field) {
  if (auto n = rt::ReadNumber(field)) return rt::Value::Number(*n);
  if (field.empty()) return rt::Value();
  return rt::Value::Text(field);
}

}  // namespace

std::wstring SettingsPathIn(const std::wstring& folder) {
  return platform::JoinPath(folder, std::wstring(kFileName));
}

// The writer puts the file into the fallback folder only when the program's folder takes no
// file, and removes that copy once it can write beside the program again. When that removal
// failed, or the program ended between the two steps, both files stand: the one written last
// holds the settings. A copy in the fallback folder is read unless the file beside the program
// is known to be newer (its time is later; neither time fails to read).
std::wstring SettingsReadPath(platform::Shell& shell, platform::Files& files) {
  const std::wstring beside = SettingsPathIn(shell.ProgramFolder());
  const std::wstring fallback = files.FallbackFolder();
  if (fallback.empty()) return beside;
  std::wstring other = SettingsPathIn(fallback);
  if (!files.NormalFileExists(other)) return beside;
  if (!files.NormalFileExists(beside)) return other;
  try {
    if (files.ModifiedTime(beside) > files.ModifiedTime(other)) return beside;
  } catch (const rt::AutomationError&) {
    // A time that cannot be read decides nothing.
  }
  return other;
}

SavedSettings ParseSettings(const std::string& bytes) {
  SavedSettings s;
  std::size_t pos = 0;
  for (int i = 0; i < 5; ++i) {
    auto field = NextField(bytes, pos);
    if (!field) break;
    switch (i) {
      case 0:
        s.left = UntypedField(*field);
        break;
      case 1:
        s.top = UntypedField(*field);
        break;
      case 2:
        s.wrap_count = IntegerField(*field);
        break;
      case 3:
        s.paste_mode = IntegerField(*field);
        break;
      case 4:
        s.topmost = IntegerField(*field);
        break;
    }
    s.fields_read = i + 1;
  }
  return s;
}

}  // namespace harumado::settings
