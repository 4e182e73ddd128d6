// The six result labels.
#include "stats/statistics_display.h"

#include <gtest/gtest.h>

#include <limits>
#include <tuple>
#include <vector>

#include "tests/support/fake_shell.h"

namespace stats {
namespace {

using support::FakeShell;
using text::Text;

struct ListedCourse {
  Text credits, score, gradePoint;
  bool ticked;
};

void List(FakeShell& shell, const std::vector<ListedCourse>& courses) {
  for (const ListedCourse& c : courses) {
    const int row = shell.ListAppendRow("课程");
    shell.ListSetCell(row, 1, "必修");
    shell.ListSetCell(row, 2, c.credits);
    shell.ListSetCell(row, 3, c.score);
    shell.ListSetCell(row, 4, c.gradePoint);
    shell.ListSetTicked(row, c.ticked);
  }
}

Text Label(const FakeShell& shell, const Text& name) {
  return shell.GetText(ui::Window::Grade, name);
}

// The totals of the two courses below, both required.
GradeTotals TwoRequiredCourses() {
  GradeTotals totals;
  totals.requiredCredits = 5;
  totals.requiredScoreSum = 3 * 90 + 2 * 70;
  totals.requiredPointSum = 3 * 3.8 + 2 * 2.2;
  return totals;
}

TEST(UpdateSelectedTotals, WeightsTheTickedRowsByTheirCredits) {
  FakeShell shell;
  List(shell, {{"3", "90", "3.8", true}, {"2", "70", "2.2", true}, {"4", "60", "1", false}});
  GradeTotals totals = TwoRequiredCourses();
  UpdateSelectedTotals(totals, shell);
  EXPECT_EQ(Label(shell, "标签3"), "选择科目加权平均分：82");
  EXPECT_EQ(Label(shell, "标签6"), "选择科目加权学分绩点：3.16");
  EXPECT_EQ(totals.selectedAverage, 82);
  EXPECT_DOUBLE_EQ(totals.selectedGradePoint, 3.16);
}

TEST(UpdateSelectedTotals, WritesTheSixLabelsInOrder) {
  FakeShell shell;
  List(shell, {{"3", "90", "3.8", true}, {"2", "70", "2.2", true}});
  GradeTotals totals = TwoRequiredCourses();
  totals.otherCredits = 1;
  totals.otherScoreSum = 95;
  totals.otherPointSum = 4;
  UpdateSelectedTotals(totals, shell);
  const std::vector<std::tuple<ui::Window, Text, Text>> expected = {
      {ui::Window::Grade, "标签1", "您的必修加权平均分：82"},
      {ui::Window::Grade, "标签4", "您的必修加权学分绩点：3.16"},
      {ui::Window::Grade, "标签2", "您的全科加权平均分：84.16666666667"},
      {ui::Window::Grade, "标签5", "您的全科加权学分绩点：3.3"},
      {ui::Window::Grade, "标签3", "选择科目加权平均分：82"},
      {ui::Window::Grade, "标签6", "选择科目加权学分绩点：3.16"},
  };
  EXPECT_EQ(shell.TextWrites(), expected);
}

TEST(UpdateSelectedTotals, ShowsThirteenSignificantDigits) {
  FakeShell shell;
  List(shell, {{"1", "90", "3.8", true}, {"2", "80", "3.2", true}});
  GradeTotals totals;
  UpdateSelectedTotals(totals, shell);
  EXPECT_EQ(Label(shell, "标签3"), "选择科目加权平均分：83.33333333333");
  EXPECT_EQ(Label(shell, "标签6"), "选择科目加权学分绩点：3.4");
}

TEST(UpdateSelectedTotals, ReadsTheRowsAsTheListShowsThem) {
  // Full-width digits and a trailing word in a cell read as the number they start with.
  FakeShell shell;
  List(shell, {{"２", "８５分", "3.6", true}});
  GradeTotals totals;
  UpdateSelectedTotals(totals, shell);
  EXPECT_EQ(Label(shell, "标签3"), "选择科目加权平均分：85");
}

TEST(UpdateSelectedTotals, KeepsTheLabelsWithoutTickedCredits) {
  const std::vector<ListedCourse> lists[] = {
      {{"3", "90", "3.8", false}, {"2", "70", "2.2", false}},         // nothing ticked
      {{"0", "90", "3.8", true}, {"0.00000005", "70", "2.2", true}},  // ticked, no credits
      {},                                                             // an empty list
  };
  for (const std::vector<ListedCourse>& list : lists) {
    FakeShell shell;
    shell.SetText(ui::Window::Grade, "标签3", "选择科目加权平均分：77");
    List(shell, list);
    GradeTotals totals = TwoRequiredCourses();
    totals.selectedAverage = 77;
    totals.selectedGradePoint = 2.7;
    UpdateSelectedTotals(totals, shell);
    EXPECT_EQ(shell.TextWrites().size(), 1u) << "only the test's own write";
    EXPECT_EQ(totals.selectedAverage, 77);
    EXPECT_EQ(totals.selectedGradePoint, 2.7);
  }
}

TEST(UpdateSelectedTotals, UntickingEverythingKeepsTheLastResults) {
  FakeShell shell;
  List(shell, {{"3", "90", "3.8", true}, {"2", "70", "2.2", true}});
  GradeTotals totals = TwoRequiredCourses();
  UpdateSelectedTotals(totals, shell);
  shell.ListSetTicked(0, false);
  UpdateSelectedTotals(totals, shell);
  EXPECT_EQ(Label(shell, "标签3"), "选择科目加权平均分：70");
  shell.ListSetTicked(1, false);
  UpdateSelectedTotals(totals, shell);
  EXPECT_EQ(Label(shell, "标签3"), "选择科目加权平均分：70");
  EXPECT_EQ(Label(shell, "标签6"), "选择科目加权学分绩点：2.2");
}

TEST(ShowTotals, QuotientWithoutCreditsShowsNone) {
  FakeShell shell;
  GradeTotals noRequired;  // only other courses
  noRequired.otherCredits = 2;
  noRequired.otherScoreSum = 150;
  noRequired.otherPointSum = 5.4;
  noRequired.selectedAverage = 75;
  noRequired.selectedGradePoint = 2.7;
  ShowTotals(noRequired, shell);
  EXPECT_EQ(Label(shell, "标签1"), "您的必修加权平均分：无");
  EXPECT_EQ(Label(shell, "标签4"), "您的必修加权学分绩点：无");
  EXPECT_EQ(Label(shell, "标签2"), "您的全科加权平均分：75");
  EXPECT_EQ(Label(shell, "标签5"), "您的全科加权学分绩点：2.7");

  ShowTotals(GradeTotals{}, shell);  // no credits at all
  EXPECT_EQ(Label(shell, "标签1"), "您的必修加权平均分：无");
  EXPECT_EQ(Label(shell, "标签4"), "您的必修加权学分绩点：无");
  EXPECT_EQ(Label(shell, "标签2"), "您的全科加权平均分：无");
  EXPECT_EQ(Label(shell, "标签5"), "您的全科加权学分绩点：无");
  EXPECT_EQ(Label(shell, "标签3"), "选择科目加权平均分：0");
}

TEST(ResultText, NumbersAndNonNumbers) {
  EXPECT_EQ(ResultText(82), "82");
  EXPECT_EQ(ResultText(0), "0");
  EXPECT_EQ(ResultText(std::numeric_limits<double>::quiet_NaN()), "无");
  EXPECT_EQ(ResultText(std::numeric_limits<double>::infinity()), "无");
  EXPECT_EQ(ResultText(-std::numeric_limits<double>::infinity()), "无");
}

}  // namespace
}  // namespace stats
