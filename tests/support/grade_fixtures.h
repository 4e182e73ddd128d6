// GBK pages in the structure of the academic-affairs server, built from a few fields per course,
// for tests, benchmarks and the sample server: the grade page (course rows opened by the row
// marker, one cell tag and one value per CR LF line), the plan-completion entry page and the
// plan page. Every field is placed as given, so a test can put spaces, entities or tags in it.
#pragma once

#include <vector>

#include "text/text.h"

namespace support {

// The opening tag of a course row on the grade page.
extern const text::Text kFixtureRowMarker;

struct FixtureCourse {
  text::Text name;
  text::Text credits;
  text::Text attribute;
  text::Text score;
  text::Text number = "00000000";  // the course number, the first cell
};

// The source lines of a row between its marker and "</tr>", without their CR LF. Cleaned of
// its markup, line 9 holds the name, 15 the credits, 18 the attribute and 23 the score.
std::vector<text::Text> GradeRowLines(const FixtureCourse& course);

// Each line followed by CR LF.
text::Text JoinLines(const std::vector<text::Text>& lines);

// The marker, the lines, "</tr>" and CR LF.
text::Text GradeRow(const FixtureCourse& course);
text::Text GradeRow(const std::vector<text::Text>& lines);

// A whole grade page: the head, a header row, then the rows as given (from GradeRow), the end.
text::Text GradePage(const std::vector<text::Text>& rows);
text::Text GradePage(const std::vector<FixtureCourse>& courses);

// The plan-completion entry page with one frame per path, each named by a src attribute.
text::Text PlanEntryPage(const std::vector<text::Text>& framePaths);

struct FixturePlanCourse {
  text::Text name;
  text::Text credits;
  text::Text score;  // what the score cell holds, e.g. "92" or "" for no number
};

// The plan page: per course a row of centre cells (number, name, credits, score), each value on
// the second line of its cell.
text::Text PlanPage(const std::vector<FixturePlanCourse>& courses);

}  // namespace support
