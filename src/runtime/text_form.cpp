#include <array>
#include <charconv>
#include <cmath>
#include <string>

#include "runtime/automation_error.h"
#include "runtime/calendar.h"
#include "runtime/conversions.h"

namespace harumado::rt {

namespace {

void AppendNumber(std::wstring& out, int n, int min_digits) {
  std::wstring digits = std::to_wstring(n);
  if (static_cast<int>(digits.size()) < min_digits) {
    out.append(static_cast<std::size_t>(min_digits) - digits.size(), L'0');
  }
  out += digits;
}

// yyyy/mm/dd, and " h:mm:ss" when the serial has a time of day.
std::wstring DateText(double serial) {
  const auto split = detail::SplitSerial(serial, 0);
  if (!split) throw AutomationError(err::kOverflow);
  std::wstring out;
  AppendNumber(out, split->date.year, 4);
  out += L'/';
  AppendNumber(out, split->date.month, 2);
  out += L'/';
  AppendNumber(out, split->date.day, 2);
  if (split->hour != 0 || split->minute != 0 || split->second != 0) {
    out += L' ';
    AppendNumber(out, split->hour, 1);
    out += L':';
    AppendNumber(out, split->minute, 2);
    out += L':';
    AppendNumber(out, split->second, 2);
  }
  return out;
}

}  // namespace

// The runtime writes a double the way printf's "%.15G" does: 15 significant digits, trailing
// zeros dropped, exponent form (two digits at least, with sign) below 1E-04 and from 1E+15 on.
// std::to_chars follows printf in the C locale whatever the process locale is; the locale's
// decimal separator for ja-JP is '.' as well. A negative zero is written as 0.
std::wstring NumberText(double d) {
  std::array<char, 64> buf{};
  auto [end, ec] =
      std::to_chars(buf.data(), buf.data() + buf.size(), d, std::chars_format::general, 15);
  if (ec != std::errc{}) return L"0";
  std::wstring out;
  out.reserve(static_cast<std::size_t>(end - buf.data()));
  for (const char* p = buf.data(); p != end; ++p) {
    out += *p == 'e' ? L'E' : static_cast<wchar_t>(*p);
  }
  if (out == L"-0") return L"0";
  return out;
}

std::wstring TextForm(const Value& v) {
  switch (v.kind()) {
    case Value::Kind::kEmpty:
      return {};
    case Value::Kind::kNumber:
      return NumberText(v.number());
    case Value::Kind::kText:
      return v.text();
    case Value::Kind::kLogical:
      return v.logical() ? L"True" : L"False";
    case Value::Kind::kDate:
      return DateText(v.date_serial());
    case Value::Kind::kError:
      break;
  }
  throw AutomationError(err::kTypeMismatch);
}

// Months and days outside their range carry into the next unit, as DateSerial(2026, 13, 1)
// gives 2027-01-01 and DateSerial(2026, 3, 0) the last day of February.
double DateSerial(int year, int month, int day) {
  const int month0 = month - 1;
  const int carry = month0 >= 0 ? month0 / 12 : -((11 - month0) / 12);
  const int y = year + carry;
  const int m = month0 - carry * 12 + 1;
  const std::int64_t days =
      detail::DaysFromCivil(y, m, 1) - detail::DaysFromCivil(1899, 12, 30) + (day - 1);
  return static_cast<double>(days);
}

double TimeSerial(int hour, int minute, int second) {
  const double seconds = static_cast<double>(hour) * 3600.0 + static_cast<double>(minute) * 60.0 +
                         static_cast<double>(second);
  return seconds / 86400.0;
}

}  // namespace harumado::rt
