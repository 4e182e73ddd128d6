// The six result labels of the grade window.
#pragma once

#include "stats/grade_totals.h"
#include "text/text.h"
#include "ui/shell.h"

namespace stats {

// Recomputes the selected-course average and grade-point average from the ticked rows of the
// course list, as their texts read, and then writes all six labels. With no rows, or ticked
// credits of zero, nothing changes.
void UpdateSelectedTotals(GradeTotals& totals, ui::Shell& shell);

// Writes 标签1, 标签4, 标签2, 标签5, 标签3 and 标签6, in this order: the required, all-course and
// selected average and grade-point average, each after its prefix. A quotient that is not a
// number (no credits to divide by) shows "无".
void ShowTotals(const GradeTotals& totals, ui::Shell& shell);

// The text of a result after its prefix: 13 significant digits, or "无" when it is not a number.
text::Text ResultText(double value);

}  // namespace stats
