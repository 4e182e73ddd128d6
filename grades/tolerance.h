// The tolerance of every zero and band test on scores, credits, grade points and their sums.
#pragma once

#include <cmath>

namespace grades {

inline constexpr double kTolerance = 0.0000001;

// Zero within the tolerance; a value that is not a number is not zero.
inline bool IsZero(double x) {
  return std::fabs(x) <= kTolerance;
}

}  // namespace grades
