// The settings reader on any file content, and the writer's line read back.
#include <cmath>

#include "core/settings/settings_file.h"
#include "core/settings/settings_writer.h"
#include "fuzz_support.h"
#include "runtime/automation_error.h"
#include "runtime/conversions.h"

namespace rt = harumado::rt;
namespace settings = harumado::settings;

namespace {

// A saved left or top as start-up takes it: a number, or a text that reads as one.
std::optional<std::int32_t> PlaceValue(const rt::Value& v) {
  try {
    if (v.is_empty()) return 0;
    if (v.is_number()) return rt::ToInt32(v.number());
    return rt::ToInt32(rt::TextForm(v));
  } catch (const rt::AutomationError&) {
    return std::nullopt;
  }
}

bool SameValues(const settings::SavedSettings& read, const settings::SettingsToSave& written) {
  return read.fields_read == 5 && read.left.is_number() && read.left.number() == written.left &&
         read.top.is_number() && read.top.number() == written.top &&
         read.wrap_count == written.wrap_count && read.paste_mode == written.paste_mode &&
         read.topmost == written.topmost;
}

void CheckWrittenLine(const settings::SettingsToSave& values) {
  const std::string bytes = settings::SettingsBytes(values);
  FUZZ_REQUIRE(bytes.size() >= 2 && bytes.ends_with("\r\n"));
  FUZZ_REQUIRE(bytes.find_first_not_of("-0123456789,") == bytes.size() - 2);
  FUZZ_REQUIRE(SameValues(settings::ParseSettings(bytes), values));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  // Any content reads without an error escaping.
  const settings::SavedSettings read = settings::ParseSettings(bytes);
  FUZZ_REQUIRE(read.fields_read >= 0 && read.fields_read <= 5);
  for (const rt::Value* place : {&read.left, &read.top}) {
    FUZZ_REQUIRE(place->is_empty() || place->is_number() || place->is_text());
    if (place->is_number()) FUZZ_REQUIRE(std::isfinite(place->number()));
  }
  if (read.fields_read < 3) FUZZ_REQUIRE(read.wrap_count == 0);
  if (read.fields_read < 5) FUZZ_REQUIRE(read.topmost == 0);

  // What was read, written again and read back, gives the same values; so do the raw integers
  // at the front of the input.
  settings::SettingsToSave again;
  again.left = PlaceValue(read.left).value_or(0);
  again.top = PlaceValue(read.top).value_or(0);
  again.wrap_count = read.wrap_count;
  again.paste_mode = read.paste_mode;
  again.topmost = read.topmost;
  CheckWrittenLine(again);
  harumado::fuzz::Input in(data, size);
  settings::SettingsToSave raw;
  raw.left = in.Take<std::int32_t>();
  raw.top = in.Take<std::int32_t>();
  raw.wrap_count = in.Take<std::int32_t>();
  raw.paste_mode = in.Take<std::int32_t>();
  raw.topmost = in.Take<std::int32_t>();
  CheckWrittenLine(raw);
  // A written line followed by anything still gives its five values.
  const std::string followed = settings::SettingsBytes(raw) + bytes;
  FUZZ_REQUIRE(SameValues(settings::ParseSettings(followed), raw));
  return 0;
}
