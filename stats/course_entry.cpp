#include "stats/course_entry.h"

#include "grades/grade_page.h"
#include "stats/grade_point.h"

namespace stats {

namespace {

const text::Text kRequiredAttribute = "必修";
const text::Text kSpecialCourseName = "形势与政策";
constexpr double kSpecialCourseCredits = 0.25;

}  // namespace

void AddCourse(const text::Text& row, GradeTotals& totals, grades::PlanPage& plan,
               ui::Shell& shell) {
  std::optional<grades::CourseRecord> record = grades::ParseGradeRow(row, plan);
  if (!record) return;

  const int listRow = shell.ListAppendRow(record->name);
  shell.ListSetCell(listRow, kAttributeColumn, record->attribute);
  if (text::TextEquals(text::LeftText(record->name, text::TextLength(kSpecialCourseName)),
                       kSpecialCourseName)) {
    record->credits = kSpecialCourseCredits;
  }
  const double gradePoint = GradePoint(record->score);
  shell.ListSetCell(listRow, kCreditsColumn, text::NumberToText(record->credits));
  shell.ListSetCell(listRow, kScoreColumn, text::NumberToText(record->score));
  shell.ListSetCell(listRow, kGradePointColumn, text::NumberToText(gradePoint));

  const bool required = text::TextEquals(record->attribute, kRequiredAttribute);
  double& credits = required ? totals.requiredCredits : totals.otherCredits;
  double& pointSum = required ? totals.requiredPointSum : totals.otherPointSum;
  double& scoreSum = required ? totals.requiredScoreSum : totals.otherScoreSum;
  credits += record->credits;
  pointSum += gradePoint * record->credits;
  scoreSum += record->score * record->credits;
}

}  // namespace stats
