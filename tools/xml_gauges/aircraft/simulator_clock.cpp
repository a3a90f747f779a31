#include "simulator_clock.h"

#include <cmath>

namespace vorlanex::gauges {
namespace {

constexpr double kSecondsPerDay = 86400.0;

struct Date {
  long long year;
  int month;  // 1-12
  int day;    // 1-31
};

// Days from 1 January of the year 1 (proleptic Gregorian), after Howard
// Hinnant's civil-date algorithms.
long long daysFromDate(const Date& date) {
  const long long y = date.year - (date.month <= 2 ? 1 : 0);
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yearOfEra = y - era * 400;
  const long long dayOfYear = (153 * (date.month + (date.month > 2 ? -3 : 9)) + 2) / 5 + date.day - 1;
  const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 306;  // day 0 is 1 March of the year 0
}

Date dateFromDays(long long days) {
  days += 306;
  const long long era = (days >= 0 ? days : days - 146096) / 146097;
  const long long dayOfEra = days - era * 146097;
  const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const long long monthIndex = (5 * dayOfYear + 2) / 153;
  const int day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
  const int month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
  return {yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

// Day 0 is 1 January of the year 1.
long long dayNumber(const Date& date) { return daysFromDate(date) - daysFromDate({1, 1, 1}); }

}  // namespace

double clockStartTime() {
  return static_cast<double>(dayNumber({2004, 6, 21})) * kSecondsPerDay + 12 * 3600.0 + kTimeZoneOffset;
}

double clockValue(ClockRole role, double absoluteSeconds) {
  if (!(std::fabs(absoluteSeconds) < 1e15)) return role == ClockRole::kAbsoluteTime ? absoluteSeconds : 0.0;
  switch (role) {
    case ClockRole::kNone:
    case ClockRole::kAbsoluteTime: break;
    case ClockRole::kLocalTime:
    case ClockRole::kLocalDayOfMonth:
    case ClockRole::kLocalMonthOfYear:
    case ClockRole::kLocalYear:
    case ClockRole::kLocalDayOfYear:
    case ClockRole::kLocalDayOfWeek: absoluteSeconds -= kTimeZoneOffset; break;
    default: break;
  }
  const double dayStart = std::floor(absoluteSeconds / kSecondsPerDay);
  const long long days = static_cast<long long>(dayStart);
  switch (role) {
    case ClockRole::kNone: return 0.0;
    case ClockRole::kAbsoluteTime: return absoluteSeconds;
    case ClockRole::kLocalTime:
    case ClockRole::kZuluTime: return absoluteSeconds - dayStart * kSecondsPerDay;
    case ClockRole::kLocalDayOfMonth:
    case ClockRole::kZuluDayOfMonth: return dateFromDays(days).day;
    case ClockRole::kLocalMonthOfYear:
    case ClockRole::kZuluMonthOfYear: return dateFromDays(days).month;
    case ClockRole::kLocalYear:
    case ClockRole::kZuluYear: return static_cast<double>(dateFromDays(days).year);
    case ClockRole::kLocalDayOfYear:
    case ClockRole::kZuluDayOfYear: {
      const Date date = dateFromDays(days);
      return static_cast<double>(days - dayNumber({date.year, 1, 1}) + 1);
    }
    case ClockRole::kLocalDayOfWeek:
    case ClockRole::kZuluDayOfWeek: return static_cast<double>((days + 1) % 7);  // 1 Jan 1 was a Monday
  }
  return 0.0;
}

}  // namespace vorlanex::gauges
