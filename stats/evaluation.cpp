#include "stats/evaluation.h"

#include "grades/tolerance.h"

namespace stats {

namespace {

using grades::kTolerance;

struct Band {
  double upper;
  double lower;
  const char* text;
};

const char kTextA[] =
    "您的成绩评价为：优(A)。\r\n"
    "我是个聪明的孩子，虽然成绩不好但是热爱祖国、尊敬师长、团结同学......";

// From the top down; the first band that holds either average decides.
const Band kBands[] = {
    {4, 3.8,
     "您的成绩评价为：优-(A-)。\r\n"
     "你是个别人家的孩子，从小就给其他小朋友造成困扰，记住，天使与你同在，你可以更加冷傲。"},
    {3.8, 3.6,
     "您的成绩评价为：良+(B+)。\r\n"
     "你是个追求完美的孩子，对于前进路上的每一步都要求甚高。记住，天使与你同在，成功就在前方。"},
    {3.6, 3.2,
     "你的成绩评价为：良(B)。\r\n"
     "你是个开拓进取的孩子，已经深谙学习之道，相信你会在这条路上越走越远。记住，天使与你同在，"
     "放手拼搏吧。"},
    {3.2, 2.7,
     "您的成绩评价为：良-(B-)。\r\n"
     "你是个聪颖好学的孩子，开始领悟学习之道。记住，天使与你同在，坚定地走下去吧。"},
    {2.7, 2.2,
     "您的成绩评价为：中+(C+)。\r\n"
     "你是个坚持不懈的孩子，在学习之外追寻着自己的梦想，记住，天使与你同在，你，本来就很美。"},
    {2.2, 1.7,
     "您的成绩评价为：中(C)。\r\n"
     "你是个勤奋努力的孩子，信奉有志者事竟成的名言，你可以做到任何你想做的事情。记住，天使与你"
     "同在。向着希望进发吧。"},
    {1.7, 1,
     "您的成绩评价为：合格(C-)。\r\n"
     "你是个聪明绝顶的孩子，有着良好的人际关系和超凡的学习效率，自信在你心中。记住，天使与你同"
     "在。你，不会挂科。"},
};

const char kTextF[] =
    "您的成绩评价为：差(F)。\r\n"
    "你是个处变不惊的孩子，挂科的挫折岂能成为你前进的羁绊，自信在你心中。而你，在我眼中，记住，"
    "天使与你同在，你，还是那么美。";

}  // namespace

bool InRange(double v, double w, double upper, double lower) {
  const auto inBand = [&](double x) { return x - upper < -kTolerance && x - lower >= -kTolerance; };
  return inBand(v) || inBand(w);
}

text::Text EvaluationText(const GradeTotals& totals) {
  const double requiredGpa = totals.requiredPointSum / totals.requiredCredits;
  const double allGpa = (totals.requiredPointSum + totals.otherPointSum) /
                        (totals.requiredCredits + totals.otherCredits);
  if (requiredGpa - 4 >= -kTolerance || allGpa - 4 >= -kTolerance) return kTextA;
  for (const Band& band : kBands) {
    if (InRange(requiredGpa, allGpa, band.upper, band.lower)) return band.text;
  }
  return kTextF;
}

}  // namespace stats
