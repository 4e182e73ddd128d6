// The file name the save dialog proposes for the result page.
#pragma once

#include <chrono>

#include "text/text.h"

namespace report {

// "%y%m%d澄溪成绩查询结果" with the year, month and day (no leading zeros): 2014, 5, 7 gives
// "201457澄溪成绩查询结果".
text::Text DefaultFileName(int year, int month, int day);

// The same for the local date of now.
text::Text DefaultFileName(std::chrono::system_clock::time_point now);

}  // namespace report
