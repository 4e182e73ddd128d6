// A student's whole grade page: the labels the program writes match averages this test computes
// on its own from the courses it put on the page.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "grades/grade_page.h"
#include "stats/course_entry.h"
#include "stats/grade_totals.h"
#include "stats/statistics_display.h"
#include "tests/support/fake_shell.h"
#include "tests/support/grade_fixtures.h"

namespace stats {
namespace {

using text::Text;

struct Course {
  Text name;
  double credits;  // as the page gives them
  Text attribute;
  Text scoreLine;  // as the page gives it
  Text planCell;   // the course's score cell on the plan page; "-": not on the plan page
  double score;    // what the course counts with
};

// 40 courses of four years: numbers, words with and without a plan-page number, fractions of a
// credit, 形势与政策 with the page's credits, scores outside the scale.
const std::vector<Course> kCourses = {
    {"高等数学(上)", 5, "必修", "88", "-", 88},
    {"线性代数", 3, "必修", "92", "-", 92},
    {"大学英语(一)", 4, "必修", "76", "-", 76},
    {"军事理论", 2, "必修", "优秀", "92", 92},
    {"形势与政策(一)", 2, "必修", "85", "-", 85},
    {"大学体育(一)", 1, "必修", "良好", "", 80},
    {"程序设计基础", 3.5, "必修", "95", "-", 95},
    {"思想道德修养", 2.5, "必修", "81", "-", 81},
    {"高等数学(下)", 5, "必修", "79", "-", 79},
    {"大学物理(上)", 4, "必修", "68", "-", 68},
    {"大学英语(二)", 4, "必修", "83", "-", 83},
    {"心理健康教育", 1, "选修", "中等", "0", 70},
    {"大学体育(二)", 1, "必修", "优", "88", 88},
    {"中国近现代史纲要", 2, "必修", "74", "-", 74},
    {"离散数学", 3, "必修", "90", "-", 90},
    {"数据结构", 4, "必修", "86.5", "-", 86.5},
    {"大学物理(下)", 4, "必修", "61", "-", 61},
    {"形势与政策(二)", 1, "必修", "优秀", "-", 90},
    {"电影欣赏", 1.5, "公选", "99", "-", 99},
    {"概率论与数理统计", 3, "必修", "57", "-", 57},
    {"计算机组成原理", 4, "必修", "72", "-", 72},
    {"马克思主义基本原理", 3, "必修", "80", "-", 80},
    {"社会实践", 2, "必修", "及格", "-", 60},
    {"操作系统", 4, "必修", "84", "-", 84},
    {"数据库系统", 3.5, "必修", "100", "-", 100},
    {"日语入门", 2, "任选", "65", "-", 65},
    {"创新创业基础", 1, "选修", "合格", "", 0},
    {"计算机网络", 3, "必修", "77", "-", 77},
    {"编译原理", 3, "必修", "69.5", "-", 69.5},
    {"软件工程", 2.5, "必修", "91", "-", 91},
    {"人工智能导论", 2, "选修", "94", "-", 94},
    {"形势与政策(三)", 0.5, "必修", "78", "-", 78},
    {"大学生职业规划", 1, "任选", "不及格", "", 0},
    {"毛泽东思想概论", 4, "必修", "82", "-", 82},
    {"算法设计与分析", 3, "必修", "96", "-", 96},
    {"信息安全", 2, "选修", "0", "-", 0},
    {"毕业实习", 4, "必修", "良", "86", 86},
    {"专业英语", 2, "选修", "100.5", "-", 100.5},
    {"分布式系统", 3, "选修", "89", "-", 89},
    {"毕业设计", 10, "必修", "优秀", "", 90},
};

// The scale written out plainly; every score above stands clear of an edge.
double ScaleGradePoint(double score) {
  if (score >= 95 && score <= 100) return 4.0;
  if (score >= 90 && score < 95) return 3.8;
  if (score >= 85 && score < 90) return 3.6;
  if (score >= 80 && score < 85) return 3.2;
  if (score >= 75 && score < 80) return 2.7;
  if (score >= 70 && score < 75) return 2.2;
  if (score >= 65 && score < 70) return 1.7;
  if (score >= 60 && score < 65) return 1.0;
  return 0;
}

double CountedCredits(const Course& course) {
  return course.name.rfind("形势与政策", 0) == 0 ? 0.25 : course.credits;
}

struct Sums {
  double credits = 0, scores = 0, points = 0;
  void Add(const Course& course) {
    const double credits_ = CountedCredits(course);
    credits += credits_;
    scores += credits_ * course.score;
    points += credits_ * ScaleGradePoint(course.score);
  }
};

// The six captions, in label order 1 to 6, for the ticked courses.
std::map<Text, Text> ExpectedLabels(const std::vector<bool>& ticked) {
  Sums required, all, selected;
  for (size_t i = 0; i < kCourses.size(); ++i) {
    if (kCourses[i].attribute == "必修") required.Add(kCourses[i]);
    all.Add(kCourses[i]);
    if (ticked[i]) selected.Add(kCourses[i]);
  }
  return {
      {"标签1", "您的必修加权平均分：" + text::NumberToText(required.scores / required.credits)},
      {"标签2", "您的全科加权平均分：" + text::NumberToText(all.scores / all.credits)},
      {"标签3", "选择科目加权平均分：" + text::NumberToText(selected.scores / selected.credits)},
      {"标签4", "您的必修加权学分绩点：" + text::NumberToText(required.points / required.credits)},
      {"标签5", "您的全科加权学分绩点：" + text::NumberToText(all.points / all.credits)},
      {"标签6", "选择科目加权学分绩点：" + text::NumberToText(selected.points / selected.credits)},
  };
}

std::map<Text, Text> Labels(const support::FakeShell& shell) {
  std::map<Text, Text> labels;
  for (const Text name : {"标签1", "标签2", "标签3", "标签4", "标签5", "标签6"}) {
    labels[name] = shell.GetText(ui::Window::Grade, name);
  }
  return labels;
}

class GradePageTotals : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<support::FixtureCourse> pageCourses;
    std::vector<support::FixturePlanCourse> planCourses;
    for (const Course& c : kCourses) {
      pageCourses.push_back({c.name, text::NumberToText(c.credits), c.attribute, c.scoreLine});
      if (c.planCell != "-") planCourses.push_back({c.name, "2", c.planCell});
    }
    pages_["gradeLnAllAction.do?type=ln&oper=lnjhqk"] = support::PlanEntryPage({"plan.jsp"});
    pages_["plan.jsp"] = support::PlanPage(planCourses);
    plan_.fetch = [this](const Text& path) {
      ++fetches_;
      return pages_[path];
    };
    grades::ExtractGradeRows(support::GradePage(pageCourses),
                             [&](const Text& row) { AddCourse(row, totals_, plan_, shell_); });
  }

  void Tick(const std::vector<bool>& ticked) {
    for (size_t i = 0; i < ticked.size(); ++i) shell_.ListSetTicked(static_cast<int>(i), ticked[i]);
  }

  std::map<Text, Text> pages_;
  int fetches_ = 0;
  grades::PlanPage plan_;
  GradeTotals totals_;
  support::FakeShell shell_;
};

TEST_F(GradePageTotals, EveryCourseTicked) {
  ASSERT_EQ(shell_.ListRowCount(), static_cast<int>(kCourses.size()));
  EXPECT_EQ(fetches_, 2) << "the plan page is loaded once";
  const std::vector<bool> all(kCourses.size(), true);
  Tick(all);
  UpdateSelectedTotals(totals_, shell_);
  EXPECT_EQ(Labels(shell_), ExpectedLabels(all));
}

TEST_F(GradePageTotals, SomeCoursesTicked) {
  std::vector<bool> ticked(kCourses.size());
  for (size_t i = 0; i < ticked.size(); ++i) ticked[i] = i % 3 != 1;
  Tick(ticked);
  UpdateSelectedTotals(totals_, shell_);
  EXPECT_EQ(Labels(shell_), ExpectedLabels(ticked));
}

}  // namespace
}  // namespace stats
