// The simulator's clock: one running count of seconds, from which the time
// and date variables are read. It starts at a fixed moment, so every run of a
// panel, on every build, reads the same times.
#pragma once

namespace vorlanex::gauges {

// Which clock variable a known variable is, if any.
enum class ClockRole {
  kNone,
  kAbsoluteTime,  // seconds since 1 January of the year 1, local time
  kLocalTime,     // seconds since local midnight
  kZuluTime,
  kLocalDayOfMonth,
  kLocalMonthOfYear,
  kLocalYear,
  kLocalDayOfYear,
  kLocalDayOfWeek,  // 0 for Sunday
  kZuluDayOfMonth,
  kZuluMonthOfYear,
  kZuluYear,
};

// The start: local noon of Tuesday 15 June 2004, absolute seconds.
double clockStartTime();

// The variable's value at `absoluteSeconds`. The panel's time zone is UTC,
// so local and zulu read alike.
double clockValue(ClockRole role, double absoluteSeconds);

}  // namespace vorlanex::gauges
