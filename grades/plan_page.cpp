#include "grades/plan_page.h"

#include <optional>

#include "grades/page_texts.h"
#include "grades/tolerance.h"

namespace grades {

namespace {

using text::Text;

const Text kPlanEntryPath = "gradeLnAllAction.do?type=ln&oper=lnjhqk";
const Text kSourceOpening = "src=\"";
const Text kCellEnd = "</td>";

// The number on the second line of the second centre cell after the course's name, or 0 when the
// page lacks the name, the cells or the line.
double PlanPageNumber(const Text& page, const Text& name) {
  if (name.empty()) return 0;  // an empty name would match the start of any page
  const int32_t at = text::FindText(page, name, 1, false);
  if (at == -1) return 0;
  const int32_t tagLength = text::TextLength(kCenterCellTag);
  const int32_t first = text::FindText(page, kCenterCellTag, at + text::TextLength(name), false);
  if (first == -1) return 0;
  const int32_t second = text::FindText(page, kCenterCellTag, first + tagLength, false);
  if (second == -1) return 0;
  const int32_t valueStart = second + tagLength;
  const int32_t valueEnd = text::FindText(page, kCellEnd, valueStart, false);
  if (valueEnd == -1) return 0;
  const Text cell = text::RemoveAllSpaces(text::MidText(page, valueStart, valueEnd - valueStart));
  const text::TextArray lines = text::SplitText(cell, kLineSeparator);
  if (lines.size() < 2) return 0;
  return text::ToNumber(text::ArrayItem(lines, 2));
}

// The score a grading word stands for, or nullopt for any other word.
std::optional<double> GradingWordScore(const Text& scoreLine) {
  const Text firstCharacter = text::LeftText(scoreLine, 2);
  if (text::TextEquals(firstCharacter, "优")) return 90;
  if (text::TextEquals(firstCharacter, "良")) return 80;
  if (text::TextEquals(firstCharacter, "中")) return 70;
  if (text::TextEquals(scoreLine, "及格")) return 60;
  return std::nullopt;
}

}  // namespace

void LoadPlanPage(PlanPage& plan) {
  plan.text.clear();
  if (!plan.fetch) return;
  const Text entry = plan.fetch(kPlanEntryPath);
  const int32_t source = text::FindTextReverse(entry, kSourceOpening, std::nullopt, false);
  if (source == -1) return;
  const int32_t start = source + text::TextLength(kSourceOpening);
  const int32_t end = text::FindText(entry, "\"", start, false);
  if (end == -1) return;
  const Text path = text::MidText(entry, start, end - start);
  if (path.empty()) return;  // the root page is no plan page
  plan.text = plan.fetch(path);
}

double ResolveZeroScore(PlanPage& plan, const Text& name, const Text& scoreLine) {
  if (plan.text.empty()) LoadPlanPage(plan);
  const double number = PlanPageNumber(plan.text, name);
  if (!IsZero(number)) return number;
  return GradingWordScore(scoreLine).value_or(number);
}

}  // namespace grades
