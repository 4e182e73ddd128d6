// Entering one course row of the grade page into the course list and the totals.
#pragma once

#include "grades/plan_page.h"
#include "stats/grade_totals.h"
#include "text/text.h"
#include "ui/shell.h"

namespace stats {

// The course list's columns.
inline constexpr int kNameColumn = 0;
inline constexpr int kAttributeColumn = 1;
inline constexpr int kCreditsColumn = 2;
inline constexpr int kScoreColumn = 3;
inline constexpr int kGradePointColumn = 4;

// Parses the row, appends it to the course list (name, attribute, credits, score, grade point)
// and adds it to the required sums (attribute exactly "必修") or to the other sums. A course
// whose name begins with 形势与政策 counts 0.25 credits. A row that holds no course adds nothing.
void AddCourse(const text::Text& row, GradeTotals& totals, grades::PlanPage& plan,
               ui::Shell& shell);

}  // namespace stats
