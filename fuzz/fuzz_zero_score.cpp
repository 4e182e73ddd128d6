// The letter-grade lookup: ResolveZeroScore for an arbitrary course name and score line on an
// arbitrary plan page. Input: name, score line, entry page and plan page, separated by zero
// bytes; the fetch answers the entry path with the entry page and every other path with the
// plan page.
//
// Checked: the score is never NaN; a score of zero leaves no grading word unused; a course the
// plan page lacks gets exactly the grading word's score or 0; one load is the entry page and at
// most the page it names, and the plan text is that page's; a second lookup gives the same score
// and fetches nothing once the plan page is there; a lookup on the plan text alone agrees.
#include <cmath>
#include <optional>

#include "fuzz/fuzz_support.h"
#include "grades/plan_page.h"
#include "grades/tolerance.h"

namespace {

using text::Text;

const Text kEntryPath = "gradeLnAllAction.do?type=ln&oper=lnjhqk";

// The score of the grading word that opens the score line (优, 良, 中) or is the whole line (及格).
std::optional<double> WordScore(const Text& line) {
  const Text first = line.substr(0, 2);
  if (first == "优") return 90;
  if (first == "良") return 80;
  if (first == "中") return 70;
  if (line == "及格") return 60;
  return std::nullopt;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::vector<Text> input = fuzz::InputTexts(data, size, 4);
  const Text& name = input[0];
  const Text& scoreLine = input[1];
  const Text& entryPage = input[2];
  const Text& planPage = input[3];

  std::vector<Text> fetched;
  grades::PlanPage plan;
  plan.fetch = [&](const Text& path) {
    fetched.push_back(path);
    return path == kEntryPath ? entryPage : planPage;
  };

  const double score = grades::ResolveZeroScore(plan, name, scoreLine);
  const std::string context = "name " + fuzz::Shown(name) + ", score line " +
                              fuzz::Shown(scoreLine) + ": " + fuzz::Shown(score);
  const std::optional<double> word = WordScore(scoreLine);

  FUZZ_CHECK(!std::isnan(score), context);
  FUZZ_CHECK(!grades::IsZero(score) || !word, context);
  if (name.empty() || plan.text.find(name) == Text::npos) {
    FUZZ_CHECK(fuzz::SameBits(score, word.value_or(0.0)), context);
  }

  FUZZ_CHECK(fetched.size() == 1 || fetched.size() == 2,
             std::to_string(fetched.size()) + " fetches");
  FUZZ_CHECK(fetched[0] == kEntryPath, fuzz::Shown(fetched[0]));
  if (fetched.size() == 2) {
    FUZZ_CHECK(!fetched[1].empty(), "the empty path was fetched");
    FUZZ_CHECK(plan.text == (fetched[1] == kEntryPath ? entryPage : planPage), context);
  } else {
    FUZZ_CHECK(plan.text.empty(), "a plan text without its fetch: " + fuzz::Shown(plan.text));
  }

  const std::size_t fetchesBefore = fetched.size();
  const double again = grades::ResolveZeroScore(plan, name, scoreLine);
  FUZZ_CHECK(fuzz::SameBits(again, score), context + ", then " + fuzz::Shown(again));
  if (!plan.text.empty()) {
    FUZZ_CHECK(fetched.size() == fetchesBefore, "fetched again with the plan page loaded");
    grades::PlanPage loaded{plan.text, nullptr};
    const double onText = grades::ResolveZeroScore(loaded, name, scoreLine);
    FUZZ_CHECK(fuzz::SameBits(onText, score), context + ", on the text " + fuzz::Shown(onText));
  }
  return 0;
}
