// The 4-point grade point of a score on the 100-point scale.
#pragma once

namespace stats {

// 4.0 from 95 to 100, 3.8 from 90, 3.6 from 85, 3.2 from 80, 2.7 from 75, 2.2 from 70, 1.7 from
// 65, 1.0 from 60; 0 below 60, above 100 and for a value that is not a number. Each lower edge
// reaches down by the tolerance, each upper edge below 100 stops that much short, 100 reaches up.
double GradePoint(double score);

}  // namespace stats
