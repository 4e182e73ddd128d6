// Entering course rows into the course list and the totals.
#include "stats/course_entry.h"

#include <gtest/gtest.h>

#include <vector>

#include "grades/grade_page.h"
#include "tests/support/fake_shell.h"
#include "tests/support/grade_fixtures.h"

namespace stats {
namespace {

using support::FakeShell;
using support::FixtureCourse;
using text::Text;

Text Row(const FixtureCourse& course) {
  return support::JoinLines(support::GradeRowLines(course));
}

struct Entered {
  FakeShell shell;
  GradeTotals totals;
  grades::PlanPage plan;

  void Add(const FixtureCourse& course) { AddCourse(Row(course), totals, plan, shell); }
  std::vector<Text> Cells(int row) const { return shell.Rows().at(static_cast<size_t>(row)).cells; }
};

TEST(AddCourse, ListsTheCourseAndAddsItToTheRequiredSums) {
  Entered e;
  e.Add({"高等数学", "3", "必修", "90"});
  ASSERT_EQ(e.shell.ListRowCount(), 1);
  EXPECT_EQ(e.Cells(0), (std::vector<Text>{"高等数学", "必修", "3", "90", "3.8"}));
  EXPECT_FALSE(e.shell.ListTicked(0)) << "the grade window ticks the rows after the load";
  EXPECT_EQ(e.totals.requiredCredits, 3);
  EXPECT_EQ(e.totals.requiredScoreSum, 270);
  EXPECT_EQ(e.totals.requiredPointSum, 3 * 3.8);
  EXPECT_EQ(e.totals.otherCredits, 0);
  EXPECT_EQ(e.totals.otherScoreSum, 0);
  EXPECT_EQ(e.totals.otherPointSum, 0);
}

TEST(AddCourse, EveryOtherAttributeGoesToTheOtherSums) {
  for (const Text attribute : {"选修", "任选", "", "必修课", "必"}) {
    Entered e;
    e.Add({"大学英语", "2", attribute, "80"});
    EXPECT_EQ(e.totals.requiredCredits, 0) << attribute;
    EXPECT_EQ(e.totals.otherCredits, 2) << attribute;
    EXPECT_EQ(e.totals.otherScoreSum, 160) << attribute;
    EXPECT_EQ(e.totals.otherPointSum, 2 * 3.2) << attribute;
  }
}

TEST(AddCourse, SituationAndPolicyCountsAQuarterCredit) {
  struct Case {
    Text name;
    Text shownCredits;
    double summedCredits;
  };
  const Case cases[] = {
      {"形势与政策", "0.25", 0.25},
      {"形势与政策(二)", "0.25", 0.25},
      {"形势与政策概论", "0.25", 0.25},
      {"当代形势与政策", "2", 2},
      {"形势与", "2", 2},
  };
  for (const Case& c : cases) {
    Entered e;
    e.Add({c.name, "2", "必修", "88"});
    EXPECT_EQ(e.Cells(0).at(kCreditsColumn), c.shownCredits) << c.name;
    EXPECT_EQ(e.totals.requiredCredits, c.summedCredits) << c.name;
    EXPECT_EQ(e.totals.requiredScoreSum, 88 * c.summedCredits) << c.name;
  }
}

TEST(AddCourse, ShowsScoresOutsideTheScaleWithGradePointZero) {
  Entered e;
  e.Add({"毕业设计", "10", "必修", "100.5"});
  e.Add({"体育", "1", "必修", "0"});
  EXPECT_EQ(e.Cells(0), (std::vector<Text>{"毕业设计", "必修", "10", "100.5", "0"}));
  EXPECT_EQ(e.Cells(1), (std::vector<Text>{"体育", "必修", "1", "0", "0"}));
  EXPECT_EQ(e.totals.requiredCredits, 11) << "a zero score still counts its credits";
  EXPECT_EQ(e.totals.requiredPointSum, 0);
}

TEST(AddCourse, RowWithoutACourseAddsNothing) {
  Entered e;
  AddCourse("", e.totals, e.plan, e.shell);
  std::vector<Text> lines = support::GradeRowLines({"高等数学", "3", "必修", "90"});
  lines.resize(20);
  AddCourse(support::JoinLines(lines), e.totals, e.plan, e.shell);
  EXPECT_EQ(e.shell.ListRowCount(), 0);
  EXPECT_EQ(e.totals.requiredCredits, 0);
  EXPECT_EQ(e.totals.requiredScoreSum, 0);
}

TEST(AddCourse, ListsThePageInPageOrder) {
  Entered e;
  const Text page = support::GradePage(std::vector<FixtureCourse>{{"线性代数", "3", "必修", "85"},
                                                                  {"大学物理", "4", "必修", "78"},
                                                                  {"大学英语", "2", "选修", "91"}});
  grades::ExtractGradeRows(page,
                           [&](const Text& row) { AddCourse(row, e.totals, e.plan, e.shell); });
  ASSERT_EQ(e.shell.ListRowCount(), 3);
  EXPECT_EQ(e.shell.ListCell(0, kNameColumn), "线性代数");
  EXPECT_EQ(e.shell.ListCell(1, kNameColumn), "大学物理");
  EXPECT_EQ(e.shell.ListCell(2, kNameColumn), "大学英语");
  EXPECT_EQ(e.totals.requiredCredits, 7);
  EXPECT_EQ(e.totals.otherCredits, 2);
}

}  // namespace
}  // namespace stats
