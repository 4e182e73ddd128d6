#include "stats/evaluation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace stats {
namespace {

using text::Text;

const Text kA =
    "您的成绩评价为：优(A)。\r\n"
    "我是个聪明的孩子，虽然成绩不好但是热爱祖国、尊敬师长、团结同学......";
const Text kAMinus =
    "您的成绩评价为：优-(A-)。\r\n"
    "你是个别人家的孩子，从小就给其他小朋友造成困扰，记住，天使与你同在，你可以更加冷傲。";
const Text kBPlus =
    "您的成绩评价为：良+(B+)。\r\n"
    "你是个追求完美的孩子，对于前进路上的每一步都要求甚高。记住，天使与你同在，成功就在前方。";
const Text kB =
    "你的成绩评价为：良(B)。\r\n"
    "你是个开拓进取的孩子，已经深谙学习之道，相信你会在这条路上越走越远。记住，天使与你同在，放手拼"
    "搏吧。";
const Text kBMinus =
    "您的成绩评价为：良-(B-)。\r\n"
    "你是个聪颖好学的孩子，开始领悟学习之道。记住，天使与你同在，坚定地走下去吧。";
const Text kCPlus =
    "您的成绩评价为：中+(C+)。\r\n"
    "你是个坚持不懈的孩子，在学习之外追寻着自己的梦想，记住，天使与你同在，你，本来就很美。";
const Text kC =
    "您的成绩评价为：中(C)。\r\n"
    "你是个勤奋努力的孩子，信奉有志者事竟成的名言，你可以做到任何你想做的事情。记住，天使与你同在。"
    "向着希望进发吧。";
const Text kCMinus =
    "您的成绩评价为：合格(C-)。\r\n"
    "你是个聪明绝顶的孩子，有着良好的人际关系和超凡的学习效率，自信在你心中。记住，天使与你同在。你"
    "，不会挂科。";
const Text kF =
    "您的成绩评价为：差(F)。\r\n"
    "你是个处变不惊的孩子，挂科的挫折岂能成为你前进的羁绊，自信在你心中。而你，在我眼中，记住，天使"
    "与你同在，你，还是那么美。";

// Totals whose required GPA is required and whose all-course GPA is all (NaN: no credits).
GradeTotals WithGpas(double required, double all) {
  GradeTotals totals;
  if (!std::isnan(required)) {
    totals.requiredCredits = 1;
    totals.requiredPointSum = required;
  }
  if (!std::isnan(all)) {
    // The other courses bring the all-course GPA to all over two credits in total.
    const double requiredPoints = totals.requiredPointSum;
    totals.otherCredits = 2 - totals.requiredCredits;
    totals.otherPointSum = all * 2 - requiredPoints;
  }
  return totals;
}

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

TEST(EvaluationText, BandOfEqualAverages) {
  struct Case {
    double gpa;
    const Text& text;
  };
  const Case cases[] = {
      {4.5, kA},
      {4, kA},
      {3.99999995, kA},
      {3.9999998, kAMinus},
      {3.95, kAMinus},
      {3.8, kAMinus},
      {3.79999995, kAMinus},
      {3.7, kBPlus},
      {3.6, kBPlus},
      {3.5, kB},
      {3.2, kB},
      {3.0, kBMinus},
      {2.7, kBMinus},
      {2.5, kCPlus},
      {2.2, kCPlus},
      {2.0, kC},
      {1.7, kC},
      {1.5, kCMinus},
      {1.0, kCMinus},
      {0.99999995, kCMinus},
      {0.9, kF},
      {0, kF},
      {-1, kF},
  };
  for (const Case& c : cases) {
    GradeTotals totals;
    totals.requiredCredits = 2;
    totals.requiredPointSum = 2 * c.gpa;
    EXPECT_EQ(EvaluationText(totals), c.text) << "gpa " << c.gpa;
  }
}

TEST(EvaluationText, TheLargerAverageDecides) {
  struct Case {
    const char* what;
    double required, all;
    const Text& text;
  };
  const Case cases[] = {
      {"required above all-course", 3.9, 2.0, kAMinus},
      {"all-course above required", 2.0, 3.9, kAMinus},
      {"all-course at the top", 3.0, 4.0, kA},
      {"no required courses", kNone, 3.0, kBMinus},
      {"no credits at all", kNone, kNone, kF},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EvaluationText(WithGpas(c.required, c.all)), c.text) << c.what;
  }
}

TEST(InRange, EitherValueInTheBand) {
  struct Case {
    double v, w, upper, lower;
    bool in;
  };
  const Case cases[] = {
      {3.8, 0, 4, 3.8, true},        {0, 3.8, 4, 3.8, true},         {3.79999995, 0, 4, 3.8, true},
      {3.7999998, 0, 4, 3.8, false}, {3.99999995, 0, 4, 3.8, false}, {3.9999998, 0, 4, 3.8, true},
      {4, 4, 4, 3.8, false},         {kNone, 3.9, 4, 3.8, true},     {kNone, kNone, 4, 3.8, false},
      {1, 2, 1.7, 1, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(InRange(c.v, c.w, c.upper, c.lower), c.in)
        << c.v << " " << c.w << " in [" << c.lower << ", " << c.upper << ")";
  }
}

}  // namespace
}  // namespace stats
