// Cutting the grade page into rows.
#include <gtest/gtest.h>

#include <vector>

#include "grades/grade_page.h"
#include "tests/support/grade_fixtures.h"

namespace grades {
namespace {

using support::FixtureCourse;
using support::GradePage;
using support::GradeRow;
using text::Text;

std::vector<Text> RowsOf(const Text& page) {
  std::vector<Text> rows;
  ExtractGradeRows(page, [&](const Text& row) { rows.push_back(row); });
  return rows;
}

Text NameOf(const Text& row) {
  PlanPage plan;
  const std::optional<CourseRecord> record = ParseGradeRow(row, plan);
  return record ? record->name : "(no course)";
}

const FixtureCourse kAlgebra{"线性代数", "3", "必修", "85"};
const FixtureCourse kPhysics{"大学物理", "4", "必修", "78"};
const FixtureCourse kEnglish{"大学英语", "2", "选修", "91"};

TEST(ExtractGradeRows, HandsOverEachCourseRowInPageOrder) {
  // The page's header row opens with a plain <tr> and is not a course.
  const std::vector<Text> rows = RowsOf(GradePage({kAlgebra, kPhysics, kEnglish}));
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0], support::JoinLines(support::GradeRowLines(kAlgebra)))
      << "the row text is everything between the marker and its </tr>";
  EXPECT_EQ(NameOf(rows[0]), "线性代数");
  EXPECT_EQ(NameOf(rows[1]), "大学物理");
  EXPECT_EQ(NameOf(rows[2]), "大学英语");
}

TEST(ExtractGradeRows, SkipsRowsWhoseOpeningTagDiffers) {
  Text evenRow = GradeRow(kPhysics);
  evenRow.replace(evenRow.find("\"odd\""), 5, "\"even\"");
  Text upperCaseRow = GradeRow(kEnglish);
  upperCaseRow.replace(0, 3, "<TR");
  const std::vector<Text> rows = RowsOf(GradePage({GradeRow(kAlgebra), evenRow, upperCaseRow}));
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(NameOf(rows[0]), "线性代数");
}

TEST(ExtractGradeRows, PageWithoutCourseRowsGivesNone) {
  EXPECT_TRUE(RowsOf("").empty());
  EXPECT_TRUE(RowsOf(GradePage(std::vector<FixtureCourse>{})).empty());
  EXPECT_TRUE(RowsOf("<html><body>登录超时</body></html>").empty());
}

TEST(ExtractGradeRows, TakesRowsOneAfterAnother) {
  // A marker inside a row, before that row's </tr>, does not start a row of its own.
  std::vector<Text> lines = support::GradeRowLines(kAlgebra);
  lines.push_back(support::kFixtureRowMarker);
  const std::vector<Text> rows = RowsOf(GradePage({GradeRow(lines), GradeRow(kPhysics)}));
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(NameOf(rows[0]), "线性代数");
  EXPECT_EQ(NameOf(rows[1]), "大学物理");
}

TEST(ExtractGradeRows, MarkerWithoutRowEndEndsTheWalk) {
  // Searching on from a missing </tr> would find the first marker again and never end.
  const Text unterminated =
      support::kFixtureRowMarker + support::JoinLines(support::GradeRowLines(kPhysics));
  const std::vector<Text> rows = RowsOf(GradeRow(kAlgebra) + unterminated);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(NameOf(rows[0]), "线性代数");
  EXPECT_TRUE(RowsOf(unterminated).empty());
}

}  // namespace
}  // namespace grades
