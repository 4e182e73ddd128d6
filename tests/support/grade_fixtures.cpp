#include "tests/support/grade_fixtures.h"

namespace support {

namespace {

using text::Text;

const Text kCell = "<td align=\"center\">";
const Text kIndent = "    ";

}  // namespace

const Text kFixtureRowMarker =
    "<tr class=\"odd\" onMouseOut=\"this.className='even';\" "
    "onMouseOver=\"this.className='evenfocus';\">";

std::vector<Text> GradeRowLines(const FixtureCourse& course) {
  return {
      "",  // 1: the rest of the marker's line
      kCell,
      kIndent + course.number,  // 2-3
      "</td>",
      kCell,
      kIndent + "01",  // 4-6: the course's sequence number
      "</td>",
      kCell,
      kIndent + course.name,  // 7-9
      "</td>",
      kCell,
      kIndent + "&nbsp;",  // 10-12: the English name, left empty by the server
      "</td>",
      kCell,
      kIndent + course.credits,  // 13-15
      "</td>",
      kCell,
      kIndent + course.attribute,  // 16-18
      "</td>",
      kCell,
      kIndent + "<p align=\"center\">",  // 19-21
      "",                                // 22
      kIndent + kIndent + course.score,  // 23
      kIndent + "</P>",
      "</td>",  // 24-25
  };
}

Text JoinLines(const std::vector<Text>& lines) {
  Text joined;
  for (const Text& line : lines) joined += line + "\r\n";
  return joined;
}

Text GradeRow(const std::vector<Text>& lines) {
  return kFixtureRowMarker + JoinLines(lines) + "</tr>\r\n";
}

Text GradeRow(const FixtureCourse& course) {
  return GradeRow(GradeRowLines(course));
}

Text GradePage(const std::vector<Text>& rows) {
  Text page =
      "<html>\r\n<head>\r\n"
      "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=GBK\">\r\n"
      "<title>成绩查询</title>\r\n</head>\r\n<body>\r\n"
      "<table class=\"titleTop2\" width=\"100%\">\r\n<thead>\r\n<tr>\r\n"
      "<th>课程号</th>\r\n<th>课序号</th>\r\n<th>课程名</th>\r\n<th>英文课程名</th>\r\n"
      "<th>学分</th>\r\n<th>课程属性</th>\r\n<th>成绩</th>\r\n"
      "</tr>\r\n</thead>\r\n<tbody>\r\n";
  for (const Text& row : rows) page += row;
  page += "</tbody>\r\n</table>\r\n</body>\r\n</html>\r\n";
  return page;
}

Text GradePage(const std::vector<FixtureCourse>& courses) {
  std::vector<Text> rows;
  rows.reserve(courses.size());
  for (const FixtureCourse& course : courses) rows.push_back(GradeRow(course));
  return GradePage(rows);
}

Text PlanEntryPage(const std::vector<Text>& framePaths) {
  Text page = "<html>\r\n<head>\r\n<title>方案完成情况</title>\r\n</head>\r\n<body>\r\n";
  for (const Text& path : framePaths) {
    page += "<iframe name=\"lnjhqk\" src=\"" + path + "\" width=\"100%\"></iframe>\r\n";
  }
  page += "</body>\r\n</html>\r\n";
  return page;
}

Text PlanPage(const std::vector<FixturePlanCourse>& courses) {
  Text page =
      "<html>\r\n<body>\r\n<table class=\"titleTop2\">\r\n"
      "<tr>\r\n<th>课程号</th>\r\n<th>课程名</th>\r\n<th>学分</th>\r\n<th>成绩</th>\r\n</tr>\r\n";
  int number = 0;
  for (const FixturePlanCourse& course : courses) {
    page += "<tr class=\"odd\">\r\n";
    page += kCell + "\r\n" + kIndent + "9000" + text::NumberToText(++number) + "\r\n</td>\r\n";
    page += kCell + "\r\n" + kIndent + course.name + "\r\n</td>\r\n";
    page += kCell + "\r\n" + kIndent + course.credits + "\r\n</td>\r\n";
    page += kCell + "\r\n" + kIndent + course.score + "\r\n</td>\r\n";
    page += "</tr>\r\n";
  }
  page += "</table>\r\n</body>\r\n</html>\r\n";
  return page;
}

}  // namespace support
