// What the saved report of a sample student must hold, worked out from the sample data with a
// plain loop of its own: the four result captions of the summary paragraph, then the page.
#pragma once

#include <vector>

#include "text/text.h"
#include "tools/sample-server/sample_data.h"

namespace e2e {

// "<P><B>" + 标签1 + " " + 标签4 + " " + 标签2 + " " + 标签5 + "</B></P>"; for a list without
// courses the captions are empty.
text::Text ExpectedSummary(const std::vector<sample::SampleCourse>& courses);

// The summary followed by the grade page exactly as the server sent it.
text::Text ExpectedReport(const std::vector<sample::SampleCourse>& courses,
                          const text::Text& gradePage);

// The save dialog's proposed name for a local date: year, month and day without leading zeros,
// then 澄溪成绩查询结果 (GBK).
text::Text ProposedFileName(int year, int month, int day);

}  // namespace e2e
