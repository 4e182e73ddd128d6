// The plan-completion page and the score of a course graded with a word.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "grades/grade_page.h"
#include "grades/plan_page.h"
#include "tests/support/grade_fixtures.h"

namespace grades {
namespace {

using support::FixturePlanCourse;
using text::Text;

const Text kEntryPath = "gradeLnAllAction.do?type=ln&oper=lnjhqk";
const Text kPlanPath = "lnjhqkAction.do?oper=lnjhqk&lnjhdm=2011";

// A server of fixed pages that records every path asked for; unknown paths answer nothing.
struct FakeServer {
  std::map<Text, Text> pages;
  std::vector<Text> requests;

  PlanPage Plan() {
    return PlanPage{"", [this](const Text& path) {
                      requests.push_back(path);
                      const auto found = pages.find(path);
                      return found == pages.end() ? Text() : found->second;
                    }};
  }
};

FakeServer ServerWithPlan(const std::vector<FixturePlanCourse>& courses) {
  FakeServer server;
  server.pages[kEntryPath] = support::PlanEntryPage({kPlanPath});
  server.pages[kPlanPath] = support::PlanPage(courses);
  return server;
}

TEST(ResolveZeroScore, TakesTheNumberOfThePlanPage) {
  FakeServer server = ServerWithPlan({{"大学英语", "4", "88"}, {"军事理论", "2", "92"}});
  PlanPage plan = server.Plan();
  EXPECT_EQ(ResolveZeroScore(plan, "军事理论", "优秀"), 92) << "the number, not the word's 90";
  EXPECT_EQ(server.requests, (std::vector<Text>{kEntryPath, kPlanPath}));
  EXPECT_EQ(plan.text, server.pages[kPlanPath]);
}

TEST(ResolveZeroScore, FallsBackToTheGradingWord) {
  struct Case {
    Text scoreLine;
    double score;
  };
  const Case cases[] = {
      {"优秀", 90},  {"优良", 90}, {"良好", 80},      {"良", 80}, {"中等", 70}, {"及格", 60},
      {"不及格", 0}, {"合格", 0},  {"及格(补考)", 0}, {"差", 0},  {"通过", 0},  {"免修", 0},
  };
  // The plan cell holds no number, holds 0, or the plan page lacks the course altogether.
  const std::vector<FixturePlanCourse> plans[] = {
      {{"军事理论", "2", ""}},
      {{"军事理论", "2", "0"}},
      {{"形势与政策", "2", "95"}},
  };
  for (const std::vector<FixturePlanCourse>& planCourses : plans) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.scoreLine + " with plan cell " + planCourses[0].name + "/" +
                   planCourses[0].score);
      FakeServer server = ServerWithPlan(planCourses);
      PlanPage plan = server.Plan();
      EXPECT_EQ(ResolveZeroScore(plan, "军事理论", c.scoreLine), c.score);
    }
  }
}

TEST(ResolveZeroScore, CellWithoutSecondLineHasNoNumber) {
  FakeServer server;
  server.pages[kEntryPath] = support::PlanEntryPage({kPlanPath});
  server.pages[kPlanPath] =
      "<td align=\"center\">军事理论</td><td align=\"center\">2</td>"
      "<td align=\"center\">92</td>";
  PlanPage plan = server.Plan();
  EXPECT_EQ(ResolveZeroScore(plan, "军事理论", "良好"), 80);
  EXPECT_EQ(ResolveZeroScore(plan, "军事理论", "合格"), 0);
}

TEST(ResolveZeroScore, MissingCellsAfterTheNameGiveNoNumber) {
  const Text pages[] = {
      "<td align=\"center\">军事理论</td>",                              // no cell after the name
      "军事理论<td align=\"center\">2</td><td align=\"center\">\r\n92",  // no </td>
      "<td align=\"center\">\r\n92\r\n</td>军事理论",                    // the cells come before it
  };
  for (const Text& page : pages) {
    PlanPage plan{page, nullptr};
    EXPECT_EQ(ResolveZeroScore(plan, "军事理论", "中等"), 70) << page;
  }
}

TEST(ResolveZeroScore, EmptyNameFindsNoCourse) {
  // An empty name would match at the page's first byte and read the first course's cell.
  FakeServer server = ServerWithPlan({{"军事理论", "2", "92"}});
  PlanPage plan = server.Plan();
  EXPECT_EQ(ResolveZeroScore(plan, "", "良好"), 80);
}

TEST(LoadPlanPage, FollowsTheLastSourceAttribute) {
  FakeServer server;
  server.pages[kEntryPath] = support::PlanEntryPage({"banner.jsp", kPlanPath});
  server.pages["banner.jsp"] = support::PlanPage({{"军事理论", "2", "61"}});
  server.pages[kPlanPath] = support::PlanPage({{"军事理论", "2", "92"}});
  PlanPage plan = server.Plan();
  EXPECT_EQ(ResolveZeroScore(plan, "军事理论", "优秀"), 92);
  EXPECT_EQ(server.requests, (std::vector<Text>{kEntryPath, kPlanPath}));
}

TEST(LoadPlanPage, EntryPageWithoutUsableSourceLoadsNothing) {
  // Without a path the second fetch would ask for the server's root page and keep it as the
  // plan page for the rest of the run.
  const Text entries[] = {
      "",
      "<html><body>会话超时</body></html>",
      "<iframe src=\"\"></iframe>",
      "<iframe src=\"lnjhqk.jsp",
  };
  for (const Text& entry : entries) {
    FakeServer server;
    server.pages[kEntryPath] = entry;
    PlanPage plan = server.Plan();
    LoadPlanPage(plan);
    EXPECT_EQ(server.requests, std::vector<Text>{kEntryPath}) << entry;
    EXPECT_EQ(plan.text, "") << entry;
  }
}

TEST(LoadPlanPage, LoadsOnceForAllLetterGradedCourses) {
  FakeServer server =
      ServerWithPlan({{"军事理论", "2", "92"}, {"大学体育", "1", "83"}, {"心理健康", "1", ""}});
  PlanPage plan = server.Plan();
  const Text rows[] = {
      support::JoinLines(support::GradeRowLines({"军事理论", "2", "必修", "优秀"})),
      support::JoinLines(support::GradeRowLines({"高等数学", "5", "必修", "90"})),
      support::JoinLines(support::GradeRowLines({"大学体育", "1", "必修", "良好"})),
      support::JoinLines(support::GradeRowLines({"心理健康", "1", "选修", "中等"})),
  };
  std::vector<double> scores;
  for (const Text& row : rows) scores.push_back(ParseGradeRow(row, plan)->score);
  EXPECT_EQ(scores, (std::vector<double>{92, 90, 83, 70}));
  EXPECT_EQ(server.requests.size(), 2u) << "one load: the entry page and the plan page";
}

TEST(LoadPlanPage, FailedLoadIsTriedAgainByTheNextCourse) {
  FakeServer server = ServerWithPlan({{"军事理论", "2", "92"}, {"大学体育", "1", "83"}});
  const Text entryPage = server.pages[kEntryPath];
  server.pages.erase(kEntryPath);  // the first load gets no answer
  PlanPage plan = server.Plan();
  EXPECT_EQ(ResolveZeroScore(plan, "军事理论", "优秀"), 90);
  EXPECT_EQ(plan.text, "");

  server.pages[kEntryPath] = entryPage;
  EXPECT_EQ(ResolveZeroScore(plan, "大学体育", "良好"), 83);
  EXPECT_EQ(ResolveZeroScore(plan, "军事理论", "优秀"), 92);
  EXPECT_EQ(server.requests, (std::vector<Text>{kEntryPath, kEntryPath, kPlanPath}));
}

}  // namespace
}  // namespace grades
