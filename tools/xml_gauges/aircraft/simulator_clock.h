// The simulator's clock: one running count of seconds, from which the time
// and date variables are read. It starts at a fixed moment, so every run of a
// panel, on every build, reads the same times.
#pragma once

namespace vorlanex::gauges {

// Which clock variable a known variable is, if any.
enum class ClockRole {
  kNone,
  kAbsoluteTime,  // seconds since 1 January of the year 1, zulu time
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
  kZuluDayOfYear,
  kZuluDayOfWeek,
};

// The start: local noon of Monday 21 June 2004, 17:00 zulu, absolute seconds.
double clockStartTime();

// Seconds local time is behind zulu time (E:TIME ZONE OFFSET): the aircraft
// stands at 90 degrees west.
constexpr double kTimeZoneOffset = 5 * 3600.0;

// The variable's value at `absoluteSeconds`.
double clockValue(ClockRole role, double absoluteSeconds);

}  // namespace vorlanex::gauges
