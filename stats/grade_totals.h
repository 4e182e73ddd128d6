// The program-wide results: the selected-course values and the sums of the required and of all
// other courses, from which the averages and grade-point averages are computed.
#pragma once

namespace stats {

struct GradeTotals {
  double selectedAverage = 0, selectedGradePoint = 0;
  double requiredScoreSum = 0, requiredCredits = 0, requiredPointSum = 0;
  double otherScoreSum = 0, otherCredits = 0, otherPointSum = 0;
};

}  // namespace stats
