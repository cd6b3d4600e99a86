// The local clock read to the second, and date and time stamps as the data files and the
// big-number log write them (month/day/year, hour:minute:second:millisecond, no leading
// zeros), so that a stamp taken from the real clock can be checked against readings
// taken before and after it.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <compare>
#include <ctime>
#include <ostream>
#include <regex>
#include <string>

struct TLocalReading {
  int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
  // Field by field from the year down: the order of time.
  auto operator<=>(const TLocalReading&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const TLocalReading& r) {
  return out << r.Month << '/' << r.Day << '/' << r.Year << ' ' << r.Hour << ':' << r.Minute
             << ':' << r.Second;
}

inline TLocalReading LocalNow() {
  // The precise clock, as the stamps use: time() reads a coarse clock that can lag a
  // second boundary that the stamp has already passed.
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
          local.tm_hour,        local.tm_min,     local.tm_sec};
}

// The reading a pair of stamps gives; false when either is not in the written form
// (milliseconds 0 to 999, no leading zeros anywhere).
inline bool ParseStamps(const std::string& date, const std::string& time, TLocalReading& r) {
  static const std::regex dateForm(R"(([1-9]\d?)/([1-9]\d?)/([1-9]\d{3}))");
  static const std::regex timeForm(R"((0|[1-9]\d?):(0|[1-9]\d?):(0|[1-9]\d?):(0|[1-9]\d{0,2}))");
  std::smatch d, t;
  if (!std::regex_match(date, d, dateForm) || !std::regex_match(time, t, timeForm)) return false;
  r = {std::stoi(d[3]), std::stoi(d[1]), std::stoi(d[2]),
       std::stoi(t[1]), std::stoi(t[2]), std::stoi(t[3])};
  return r.Month <= 12 && r.Day <= 31 && r.Hour <= 23 && r.Minute <= 59 && r.Second <= 60;
}

// A line "date<separator>time<separator>rest" whose stamp lies between two readings; rest
// is what follows the stamp.
inline ::testing::AssertionResult StampedBetween(const std::string& line, char separator,
                                                 const TLocalReading& before,
                                                 const TLocalReading& after, std::string& rest) {
  const std::size_t first = line.find(separator), second = line.find(separator, first + 1);
  TLocalReading stamp;
  if (second == std::string::npos ||
      !ParseStamps(line.substr(0, first), line.substr(first + 1, second - first - 1), stamp))
    return ::testing::AssertionFailure() << "no stamp in " << line;
  if (stamp < before || after < stamp)
    return ::testing::AssertionFailure() << stamp << " is not between " << before << " and " << after;
  rest = line.substr(second + 1);
  return ::testing::AssertionSuccess();
}
