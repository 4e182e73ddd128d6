#include "export/default_file_name.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

namespace report {
namespace {

TEST(DefaultFileName, YearMonthDayWithoutLeadingZeros) {
  struct Case {
    int year, month, day;
    const char* name;
  };
  const Case cases[] = {
      {2014, 5, 7, "201457澄溪成绩查询结果"},   {2014, 11, 1, "2014111澄溪成绩查询结果"},
      {2014, 1, 11, "2014111澄溪成绩查询结果"}, {2014, 12, 31, "20141231澄溪成绩查询结果"},
      {2015, 1, 5, "201515澄溪成绩查询结果"},   {2016, 2, 29, "2016229澄溪成绩查询结果"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DefaultFileName(c.year, c.month, c.day), c.name)
        << c.year << "-" << c.month << "-" << c.day;
  }
}

// Runs the body with the process's time zone set to tz, then restores it.
template <typename Body>
void InTimeZone(const char* tz, Body body) {
  const char* old = std::getenv("TZ");
  const std::string saved = old ? old : "";
  setenv("TZ", tz, 1);
  tzset();
  body();
  if (old) {
    setenv("TZ", saved.c_str(), 1);
  } else {
    unsetenv("TZ");
  }
  tzset();
}

std::chrono::system_clock::time_point Utc(int year, int month, int day, int hour, int minute) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = hour;
  t.tm_min = minute;
  return std::chrono::system_clock::from_time_t(timegm(&t));
}

TEST(DefaultFileName, TakesTheLocalDateOfTheMoment) {
  // 16:30 UTC on 31 December is already New Year's Day at UTC+8, still New Year's Eve at UTC-5.
  const auto moment = Utc(2014, 12, 31, 16, 30);
  InTimeZone("CST-8", [&] { EXPECT_EQ(DefaultFileName(moment), "201511澄溪成绩查询结果"); });
  InTimeZone("EST5", [&] { EXPECT_EQ(DefaultFileName(moment), "20141231澄溪成绩查询结果"); });
}

}  // namespace
}  // namespace report
