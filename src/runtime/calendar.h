#pragma once
// Calendar arithmetic on date serials (days since 1899-12-30, fraction = time of day).
#include <cstdint>
#include <optional>

namespace harumado::rt::detail {

struct CivilDate {
  int year = 0;
  int month = 0;  // 1..12
  int day = 0;    // 1..31
};

struct SplitDateTime {
  CivilDate date;
  int weekday = 0;  // 0 = Sunday
  int hour = 0;
  int minute = 0;
  int second = 0;
  int fraction = 0;              // fraction of the second, in units of 10^-fraction_digits
  std::int64_t total_units = 0;  // the time of day plus whole days, in those units
};

std::int64_t DaysFromCivil(int year, int month, int day);
CivilDate CivilFromDays(std::int64_t days);

// The date and time of a serial, the time rounded to 10^-fraction_digits of a second
// (fraction_digits 0..3). Nothing for serials outside the years 100..9999.
std::optional<SplitDateTime> SplitSerial(double serial, int fraction_digits);

}  // namespace harumado::rt::detail
