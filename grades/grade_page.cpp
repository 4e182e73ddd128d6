#include "grades/grade_page.h"

#include "grades/page_texts.h"
#include "grades/tolerance.h"

namespace grades {

namespace {

using text::Text;

const Text kRowEnd = "</tr>";

// The lines of a cleaned row that carry the course.
constexpr int32_t kNameLine = 9;
constexpr int32_t kCreditsLine = 15;
constexpr int32_t kAttributeLine = 18;
constexpr int32_t kScoreLine = 23;

// Removes every "<" ... ">" span in one pass. Removing the first tag and searching again from
// the first byte gives the same text, since the bytes before a removed tag hold no "<"; the
// scan resumes right after the ">", which is where that search would reach.
Text StripTags(const Text& row) {
  Text kept;
  kept.reserve(row.size());
  const int32_t length = text::TextLength(row);
  int32_t from = 1;
  while (from <= length) {
    const int32_t open = text::FindText(row, "<", from, false);
    if (open == -1) {
      kept += text::MidText(row, from, length - from + 1);
      break;
    }
    kept += text::MidText(row, from, open - from);
    const int32_t close = text::FindText(row, ">", open, false);
    if (close == -1) break;  // an unclosed tag: it and the rest of the row go
    from = close + 1;
  }
  return kept;
}

}  // namespace

void ExtractGradeRows(const Text& page, const std::function<void(const Text& row)>& addCourse) {
  const int32_t markerLength = text::TextLength(kGradeRowMarker);
  int32_t start = text::FindText(page, kGradeRowMarker, 1, false);
  while (start != -1) {
    const int32_t end = text::FindText(page, kRowEnd, start, false);
    if (end == -1) return;  // an unterminated row holds no course, and nothing follows it
    addCourse(text::MidText(page, start + markerLength, end - start - markerLength));
    start = text::FindText(page, kGradeRowMarker, end, false);
  }
}

Text CleanGradeRow(const Text& row) {
  Text cleaned = text::ReplaceSubtext(row, kCenterCellTag, "", 1, text::kAllMatches, true);
  cleaned = StripTags(cleaned);
  cleaned = text::ReplaceSubtext(cleaned, "&nbsp;", "", 1, text::kAllMatches, true);
  return text::RemoveAllSpaces(cleaned);
}

std::optional<CourseRecord> ParseGradeRow(const Text& row, PlanPage& plan) {
  const text::TextArray lines = text::SplitText(CleanGradeRow(row), kLineSeparator);
  if (static_cast<int32_t>(lines.size()) < kScoreLine) return std::nullopt;

  CourseRecord record;
  record.name = text::ArrayItem(lines, kNameLine);
  record.credits = text::ToNumber(text::ArrayItem(lines, kCreditsLine));
  record.attribute = text::ArrayItem(lines, kAttributeLine);
  const Text& scoreLine = text::ArrayItem(lines, kScoreLine);
  record.score = text::ToNumber(scoreLine);
  if (IsZero(record.score) && text::TextLength(scoreLine) > 1) {
    record.score = ResolveZeroScore(plan, record.name, scoreLine);
  }
  return record;
}

}  // namespace grades
