#include "stats/grade_point.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace stats {
namespace {

TEST(GradePoint, BandEdgesWithTheirTolerance) {
  struct Case {
    double score;
    double gradePoint;
  };
  const Case cases[] = {
      {100, 4.0},
      {100.00000005, 4.0},
      {100.0000002, 0},
      {100.5, 0},
      {97, 4.0},
      {95, 4.0},
      {94.99999995, 4.0},
      {94.9999, 3.8},
      {90, 3.8},
      {89.99999991, 3.8},
      {89.5, 3.6},
      {85, 3.6},
      {84.9999998, 3.2},
      {80, 3.2},
      {79.99, 2.7},
      {75, 2.7},
      {70, 2.2},
      {65, 1.7},
      {64.5, 1.0},
      {60, 1.0},
      {59.99999995, 1.0},
      {59.9, 0},
      {30, 0},
      {0, 0},
      {-5, 0},
      {std::numeric_limits<double>::quiet_NaN(), 0},
      {std::numeric_limits<double>::infinity(), 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GradePoint(c.score), c.gradePoint) << "score " << c.score;
  }
}

}  // namespace
}  // namespace stats
