// The number-format engine: which codes are valid, and numbers, dates and texts shown under them.
#include <cmath>

#include "fuzz_support.h"
#include "runtime/automation_error.h"
#include "runtime/conversions.h"
#include "runtime/number_format.h"

namespace rt = harumado::rt;

namespace {

// The display, or the error number the call ends with (other exceptions end the run).
struct Shown {
  std::wstring text;
  std::int32_t error = 0;
};

template <typename F>
Shown Try(F&& f) {
  Shown s;
  try {
    s.text = f();
  } catch (const rt::AutomationError& e) {
    s.error = e.number();
  }
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  harumado::fuzz::Input in(data, size);
  const double value = in.Take<double>();
  const double width = in.Take<std::uint8_t>() / 2.0;  // 0 to 127.5 characters
  const std::wstring code = harumado::fuzz::WideText(in.Rest());
  if (!std::isfinite(value)) return 0;

  const bool valid = rt::IsValidFormatCode(code);
  const bool general = rt::IsGeneralFormat(code);
  if (general) FUZZ_REQUIRE(valid);

  const Shown number = Try([&] { return rt::FormatNumber(value, code); });
  if (!valid) FUZZ_REQUIRE(number.error == rt::err::kTypeMismatch);
  // A valid code shows every number but a date it cannot show (negative, or past the year 9999):
  // those end with error 13, and a cell shows them as '#' (below).
  if (valid) FUZZ_REQUIRE(number.error == 0 || number.error == rt::err::kTypeMismatch);
  if (general) FUZZ_REQUIRE(number.text == rt::NumberText(value));

  const Shown cell = Try([&] { return rt::DisplayText(rt::Value::Number(value), code, width); });
  const Shown date = Try([&] { return rt::DisplayText(rt::Value::FromDate(value), code, width); });
  FUZZ_REQUIRE(cell.error == (valid ? 0 : rt::err::kTypeMismatch));
  if (valid && !general) {
    // Too wide for the column, or not showable: as many '#' as the column holds characters.
    FUZZ_REQUIRE(rt::DisplayWidth(cell.text) <= static_cast<std::size_t>(width));
    if (number.error == 0 && rt::DisplayWidth(number.text) <= static_cast<std::size_t>(width)) {
      FUZZ_REQUIRE(cell.text == number.text);
    } else {
      FUZZ_REQUIRE(cell.text == std::wstring(static_cast<std::size_t>(width), L'#'));
    }
    FUZZ_REQUIRE(date.error == 0 && date.text == cell.text);
  }

  // A text shows as itself unless the code has a text section; a valid code takes every text.
  const std::wstring text = L"a" + code.substr(0, 8);
  const Shown text_cell = Try([&] { return rt::DisplayText(rt::Value::Text(text), code, width); });
  FUZZ_REQUIRE(text_cell.error == (valid ? 0 : rt::err::kTypeMismatch));
  if (valid && code.find(L';') == std::wstring::npos && code.find(L'@') == std::wstring::npos) {
    FUZZ_REQUIRE(text_cell.text == text);
  }

  return 0;
}
