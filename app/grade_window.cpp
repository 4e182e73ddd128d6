// The grade window: its load (grade page, course list, results, report) and its buttons.
#include "app/program.h"
#include "app/program_texts.h"
#include "grades/grade_page.h"
#include "stats/course_entry.h"
#include "stats/evaluation.h"
#include "stats/statistics_display.h"

namespace app {

void Program::GradeWindowCreated() {
  reportText_ = fetch_(kGradePagePath);
  gradePageMissing_ = reportText_.empty();

  grades::ExtractGradeRows(reportText_, [this](const text::Text& row) {
    stats::AddCourse(row, totals_, plan_, shell_);
  });

  shell_.SetSelectAllTicked(true);
  SelectAllClicked();
  UpdateSelectedTotals();

  // The summary paragraph: required and all-course results, in front of the grade page.
  auto caption = [this](const char* label) { return shell_.GetText(ui::Window::Grade, label); };
  reportText_ = text::JoinTexts(
      text::Text("<P><B>"), caption("标签1"), text::Text(" "), caption("标签4"), text::Text(" "),
      caption("标签2"), text::Text(" "), caption("标签5"), text::Text("</B></P>"), reportText_);
}

void Program::GradeWindowDestroyed() {
  shell_.EndProgram(0);
}

void Program::SelectAllClicked() {
  const bool ticked = shell_.IsSelectAllTicked();
  const int rows = shell_.ListRowCount();
  for (int row = 0; row < rows; ++row) shell_.ListSetTicked(row, ticked);
}

void Program::UpdateSelectedTotals() {
  stats::UpdateSelectedTotals(totals_, shell_);
}

void Program::ShowEvaluation() {
  shell_.ShowMessage(stats::EvaluationText(totals_), ui::kIconInformation,
                     shell_.GetText(ui::Window::Grade, ""));
}

}  // namespace app
