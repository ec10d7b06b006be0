// The number-text functions of the runtime: reading a text as a number, the leading number,
// the text to a 32-bit integer, the `*[!0-9,.\]*` pattern, and the text form of a number.
#include <cmath>
#include <optional>

#include "fuzz_support.h"
#include "runtime/automation_error.h"
#include "runtime/conversions.h"

namespace rt = harumado::rt;

namespace {

// The error number a call ends with, or 0 when it returns.
template <typename F>
std::int32_t ErrorOf(F&& f) {
  try {
    f();
  } catch (const rt::AutomationError& e) {
    return e.number();
  }
  return 0;
}

bool OnlyPatternCharacters(std::wstring_view t) {
  for (wchar_t c : t) {
    if (!((c >= L'0' && c <= L'9') || c == L',' || c == L'.' || c == L'\\')) return false;
  }
  return true;
}

void CheckText(const std::wstring& t) {
  const std::optional<double> read = rt::ReadNumber(t);
  FUZZ_REQUIRE(rt::ReadsAsNumber(t) == read.has_value());
  FUZZ_REQUIRE(rt::IsNumericValue(rt::Value::Text(t)) == read.has_value());
  if (read) FUZZ_REQUIRE(std::isfinite(*read));

  // Text to a 32-bit integer agrees with reading the text as a number.
  std::int32_t as_integer = 0;
  const std::int32_t integer_error = ErrorOf([&] { as_integer = rt::ToInt32(t); });
  if (read) {
    std::int32_t from_number = 0;
    const std::int32_t number_error = ErrorOf([&] { from_number = rt::ToInt32(*read); });
    FUZZ_REQUIRE(integer_error == number_error);
    if (integer_error == 0) FUZZ_REQUIRE(as_integer == from_number);
    if (integer_error == 0) FUZZ_REQUIRE(std::fabs(*read - as_integer) <= 0.5);
  } else {
    // Not a number, or a number beyond the double range.
    FUZZ_REQUIRE(integer_error == rt::err::kTypeMismatch || integer_error == rt::err::kOverflow);
  }

  // The pattern holds exactly when some character lies outside 0-9 , . and \.
  FUZZ_REQUIRE(rt::HasNonNumericChar(t) == !OnlyPatternCharacters(t));
  // Digits with commas after the first digit and at most one point read as a number (short
  // enough to stay inside the double range).
  if (!t.empty() && t.size() <= 300 && t[0] >= L'0' && t[0] <= L'9' && OnlyPatternCharacters(t) &&
      t.find(L'\\') == std::wstring::npos && t.find(L'.') == t.rfind(L'.')) {
    FUZZ_REQUIRE(read.has_value());
  }

  // The leading number: a finite number or an overflow, whatever follows a stop character.
  double leading = 0;
  const std::int32_t leading_error = ErrorOf([&] { leading = rt::LeadingNumber(t); });
  FUZZ_REQUIRE(leading_error == 0 || leading_error == rt::err::kOverflow);
  if (leading_error == 0) FUZZ_REQUIRE(std::isfinite(leading));
  double leading_stopped = 0;
  const std::int32_t stopped_error =
      ErrorOf([&] { leading_stopped = rt::LeadingNumber(t + L"x"); });
  FUZZ_REQUIRE(stopped_error == leading_error);
  if (leading_error == 0) FUZZ_REQUIRE(leading_stopped == leading);
  // Plain decimals read the same both ways.
  if (read && !t.empty() && t.find_first_not_of(L"0123456789.") == std::wstring::npos) {
    FUZZ_REQUIRE(leading_error == 0 && leading == *read);
  }
}

// The text form of a number reads back as that number to 15 significant digits.
void CheckNumber(double d) {
  // Past 1.79769313486231E+308 the 15-digit text rounds beyond the double range and reads as an
  // overflow, as the runtime's own CStr and CDbl do.
  if (!std::isfinite(d) || std::fabs(d) > 1.79769313486231e308) return;
  const std::wstring text = rt::NumberText(d);
  const std::optional<double> back = rt::ReadNumber(text);
  FUZZ_REQUIRE(back.has_value());
  if (std::fabs(d) >= 1e-300) {
    FUZZ_REQUIRE(std::fabs(*back - d) <= std::fabs(d) * 1e-14);
  } else {
    FUZZ_REQUIRE(std::fabs(*back) < 1e-299);
  }
  FUZZ_REQUIRE(rt::NumberText(*back) == text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  harumado::fuzz::Input in(data, size);
  CheckText(harumado::fuzz::WideText(in.Rest()));
  CheckNumber(harumado::fuzz::Input(data, size).Take<double>());
  return 0;
}
