// The plan-completion page: where a course graded with a word finds its numeric score.
#pragma once

#include <functional>

#include "text/text.h"

namespace grades {

// Fetches a server page by its path relative to the server's base; the empty text on failure.
using PageFetcher = std::function<text::Text(const text::Text& relativePath)>;

// The plan page's text and the fetch that loads it; text is empty until the first lookup loads it.
struct PlanPage {
  text::Text text;
  PageFetcher fetch;
};

// Fetches the entry page and then the page named by its last src attribute into plan.text. An
// entry page without a usable src attribute leaves plan.text empty, so the next lookup tries
// again instead of fetching the server's root page in its place.
void LoadPlanPage(PlanPage& plan);

// The score of a course whose score line reads as zero: the number of the course's cell on the
// plan page (loaded first if it is still empty), else the score of the grading word in the
// score line (优… 90, 良… 80, 中… 70, exactly 及格 60), else 0. A course the plan page lacks,
// or a cell without a second line, has no number there.
double ResolveZeroScore(PlanPage& plan, const text::Text& name, const text::Text& scoreLine);

}  // namespace grades
