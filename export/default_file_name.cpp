#include "export/default_file_name.h"

#include <ctime>

namespace report {

text::Text DefaultFileName(int year, int month, int day) {
  text::Text name = "%y%m%d澄溪成绩查询结果";
  name = text::ReplaceSubtext(name, "%y", text::NumberToText(year), 1, text::kAllMatches, true);
  name = text::ReplaceSubtext(name, "%m", text::NumberToText(month), 1, text::kAllMatches, true);
  return text::ReplaceSubtext(name, "%d", text::NumberToText(day), 1, text::kAllMatches, true);
}

text::Text DefaultFileName(std::chrono::system_clock::time_point now) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&seconds, &local);
  return DefaultFileName(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

}  // namespace report
