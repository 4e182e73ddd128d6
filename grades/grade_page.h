// Cutting the grade page into course rows and a row into its course record.
#pragma once

#include <functional>
#include <optional>

#include "grades/course_record.h"
#include "grades/plan_page.h"
#include "text/text.h"

namespace grades {

// The opening tag of a course row, exactly; rows opened by any other tag are not courses.
inline const text::Text kGradeRowMarker =
    "<tr class=\"odd\" onMouseOut=\"this.className='even';\" "
    "onMouseOver=\"this.className='evenfocus';\">";

// Calls addCourse once per course row, in page order, with the row's text: the bytes after the
// row marker up to its "</tr>". Rows are taken one after another; a marker without "</tr>"
// after it ends the walk.
void ExtractGradeRows(const text::Text& page,
                      const std::function<void(const text::Text& row)>& addCourse);

// The row's markup removed: centre-cell tags, then every other tag ("<" through the next ">"),
// then "&nbsp;" and the spaces. CR LF stays, so the row's source lines survive. A "<" without
// ">" after it is dropped together with the rest of the row.
text::Text CleanGradeRow(const text::Text& row);

// The course of a row: name, credits, attribute and score from the 9th, 15th, 18th and 23rd line
// of the cleaned row. A zero score with a score line of two bytes or more is looked up on the
// plan page. nullopt: the row has too few lines to hold a course and is skipped.
std::optional<CourseRecord> ParseGradeRow(const text::Text& row, PlanPage& plan);

}  // namespace grades
