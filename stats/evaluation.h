// The evaluation shown by the grade window's 查看评价 button.
#pragma once

#include "stats/grade_totals.h"
#include "text/text.h"

namespace stats {

// True when v or w lies in the band: at least lower - t and less than upper - t (t = 1e-7). A
// value that is not a number lies in no band.
bool InRange(double v, double w, double upper, double lower);

// One of nine texts, chosen by the larger of the required and the all-course grade-point
// averages; one that is not a number is ignored, and with neither the text is that of F.
text::Text EvaluationText(const GradeTotals& totals);

}  // namespace stats
