#include "stats/grade_point.h"

#include "grades/tolerance.h"

namespace stats {

namespace {

using grades::kTolerance;

struct Band {
  double lower;
  double upper;
  double gradePoint;
};

// Below the top band, each band ends where the next one up begins.
constexpr Band kBands[] = {
    {90, 95, 3.8}, {85, 90, 3.6}, {80, 85, 3.2}, {75, 80, 2.7},
    {70, 75, 2.2}, {65, 70, 1.7}, {60, 65, 1.0},
};

}  // namespace

double GradePoint(double score) {
  if (score - 95 >= -kTolerance && score - 100 <= kTolerance) return 4.0;
  for (const Band& band : kBands) {
    if (score - band.lower >= -kTolerance && score - band.upper < -kTolerance) {
      return band.gradePoint;
    }
  }
  return 0.0;
}

}  // namespace stats
