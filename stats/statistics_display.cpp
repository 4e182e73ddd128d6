#include "stats/statistics_display.h"

#include <cmath>

#include "grades/tolerance.h"
#include "stats/course_entry.h"

namespace stats {

namespace {

using text::Text;

struct Label {
  const char* control;
  const char* prefix;
  double value;
};

}  // namespace

Text ResultText(double value) {
  if (!std::isfinite(value)) return "无";
  return text::NumberToText(value);
}

void UpdateSelectedTotals(GradeTotals& totals, ui::Shell& shell) {
  const int rows = shell.ListRowCount();
  if (rows == 0) return;
  double credits = 0, scoreSum = 0, pointSum = 0;
  for (int row = 0; row < rows; ++row) {
    if (!shell.ListTicked(row)) continue;
    const double rowCredits = text::ToNumber(shell.ListCell(row, kCreditsColumn));
    credits += rowCredits;
    scoreSum += rowCredits * text::ToNumber(shell.ListCell(row, kScoreColumn));
    pointSum += rowCredits * text::ToNumber(shell.ListCell(row, kGradePointColumn));
  }
  if (!(std::fabs(credits) > grades::kTolerance)) return;  // none ticked, or no credits
  totals.selectedAverage = scoreSum / credits;
  totals.selectedGradePoint = pointSum / credits;
  ShowTotals(totals, shell);
}

void ShowTotals(const GradeTotals& totals, ui::Shell& shell) {
  const double allCredits = totals.requiredCredits + totals.otherCredits;
  const Label labels[] = {
      {"标签1", "您的必修加权平均分：", totals.requiredScoreSum / totals.requiredCredits},
      {"标签4", "您的必修加权学分绩点：", totals.requiredPointSum / totals.requiredCredits},
      {"标签2", "您的全科加权平均分：",
       (totals.requiredScoreSum + totals.otherScoreSum) / allCredits},
      {"标签5", "您的全科加权学分绩点：",
       (totals.requiredPointSum + totals.otherPointSum) / allCredits},
      {"标签3", "选择科目加权平均分：", totals.selectedAverage},
      {"标签6", "选择科目加权学分绩点：", totals.selectedGradePoint},
  };
  for (const Label& label : labels) {
    shell.SetText(ui::Window::Grade, label.control,
                  text::JoinTexts(Text(label.prefix), ResultText(label.value)));
  }
}

}  // namespace stats
