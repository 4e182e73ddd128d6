// The file name the save dialog proposes for the result page.
#pragma once

// The clocks only: libstdc++'s full <chrono> holds a "µs" literal that the GBK execution
// character set cannot hold, so including it fails to compile here.
#if __has_include(<bits/chrono.h>)
#include <bits/chrono.h>
#else
#include <chrono>
#endif

#include "text/text.h"

namespace report {

// "%y%m%d澄溪成绩查询结果" with the year, month and day (no leading zeros): 2014, 5, 7 gives
// "201457澄溪成绩查询结果".
text::Text DefaultFileName(int year, int month, int day);

// The same for the local date of now.
text::Text DefaultFileName(std::chrono::system_clock::time_point now);

}  // namespace report
