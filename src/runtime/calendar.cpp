#include "runtime/calendar.h"

#include <cmath>

namespace harumado::rt::detail {

namespace {

// The serial range of the automation Date type: 0100-01-01 .. 9999-12-31.
constexpr double kFirstSerial = -657434.0;
constexpr double kLastDay = 2958465.0;
constexpr std::int64_t kSecondsPerDay = 86400;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

std::int64_t FloorMod(std::int64_t a, std::int64_t b) { return a - FloorDiv(a, b) * b; }

}  // namespace

// Days since 1970-01-01 in the proleptic Gregorian calendar (the era-based method: a year
// starts in March so that the leap day falls at the end).
std::int64_t DaysFromCivil(int year, int month, int day) {
  const std::int64_t y = static_cast<std::int64_t>(year) - (month <= 2 ? 1 : 0);
  const std::int64_t era = FloorDiv(y, 400);
  const std::int64_t yoe = y - era * 400;
  const std::int64_t mp = (month + 9) % 12;
  const std::int64_t doy = (153 * mp + 2) / 5 + day - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

CivilDate CivilFromDays(std::int64_t days) {
  const std::int64_t z = days + 719468;
  const std::int64_t era = FloorDiv(z, 146097);
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  const std::int64_t d = doy - (153 * mp + 2) / 5 + 1;
  const std::int64_t m = mp < 10 ? mp + 3 : mp - 9;
  const std::int64_t y = yoe + era * 400 + (m <= 2 ? 1 : 0);
  return CivilDate{static_cast<int>(y), static_cast<int>(m), static_cast<int>(d)};
}

// A serial's whole part names the day and its fraction, taken without sign, the time of day:
// -1.25 is 1899-12-29 06:00. Rounding the time up to a full day moves to the next calendar day.
std::optional<SplitDateTime> SplitSerial(double serial, int fraction_digits) {
  if (!std::isfinite(serial) || serial < kFirstSerial || serial >= kLastDay + 1.0) {
    return std::nullopt;
  }
  std::int64_t unit = 1;
  for (int i = 0; i < fraction_digits; ++i) unit *= 10;
  const std::int64_t units_per_day = kSecondsPerDay * unit;

  auto day = static_cast<std::int64_t>(std::trunc(serial));
  const double time = std::fabs(serial - static_cast<double>(day));
  auto units = static_cast<std::int64_t>(std::llround(time * static_cast<double>(units_per_day)));
  if (units >= units_per_day) {
    units -= units_per_day;
    ++day;
  }
  if (static_cast<double>(day) > kLastDay) return std::nullopt;

  const std::int64_t since_1970 = day + DaysFromCivil(1899, 12, 30);
  SplitDateTime out;
  out.date = CivilFromDays(since_1970);
  out.weekday = static_cast<int>(FloorMod(since_1970 + 4, 7));  // 1970-01-01 was a Thursday
  const std::int64_t seconds = units / unit;
  out.hour = static_cast<int>(seconds / 3600);
  out.minute = static_cast<int>(seconds / 60 % 60);
  out.second = static_cast<int>(seconds % 60);
  out.fraction = static_cast<int>(units % unit);
  out.total_units = day * units_per_day + units;
  return out;
}

}  // namespace harumado::rt::detail
