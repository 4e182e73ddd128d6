// One course as read from one row of the grade page.
#pragma once

#include "text/text.h"

namespace grades {

struct CourseRecord {
  text::Text name;
  text::Text attribute;
  double credits = 0;
  double score = 0;
};

}  // namespace grades
