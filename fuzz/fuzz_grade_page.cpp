// The grade page road: ExtractGradeRows cuts an arbitrary page into rows and AddCourse enters
// each into an in-memory course list and the totals, looking zero scores up on a plan page.
// Input: grade page, entry page and plan page, separated by zero bytes; the plan page's fetch
// answers the entry path with the entry page and every other path with the plan page.
//
// Checked: every row is the text between a row marker and the next "</tr>", in page order; a
// cleaned row keeps no tag start and no space as a character; the list gains a row exactly
// when the row parses to a course, with five cells that show the course as parsed; the totals
// are the sums of the parsed courses (finite while the numbers are moderate); once the plan
// page is loaded nothing is fetched again.
#include <cmath>
#include <optional>

#include "fuzz/fuzz_support.h"
#include "grades/grade_page.h"
#include "stats/course_entry.h"
#include "stats/grade_point.h"
#include "tests/support/fake_shell.h"

namespace {

using text::Text;

const Text kEntryPath = "gradeLnAllAction.do?type=ln&oper=lnjhqk";
const Text kRowEnd = "</tr>";

// Numbers up to this size cannot overflow a sum of products over any input libFuzzer makes.
constexpr double kModerate = 1e150;

void CheckCleanedRow(const Text& row) {
  const Text cleaned = grades::CleanGradeRow(row);
  fuzz::ForEachCharacter(cleaned, [&](std::size_t i) {
    FUZZ_CHECK(cleaned[i] != '<' && cleaned[i] != ' ', fuzz::Shown(cleaned));
    FUZZ_CHECK(cleaned.compare(i, 2, "\xA1\xA1") != 0, fuzz::Shown(cleaned));
  });
}

struct Sums {
  double credits = 0, pointSum = 0, scoreSum = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::vector<Text> input = fuzz::InputTexts(data, size, 3);
  const Text& page = input[0];
  const Text& entryPage = input[1];
  const Text& planPage = input[2];

  std::vector<Text> fetched;
  const auto answer = [&](const Text& path) { return path == kEntryPath ? entryPage : planPage; };
  grades::PlanPage plan;
  plan.fetch = [&](const Text& path) {
    fetched.push_back(path);
    return answer(path);
  };

  support::FakeShell shell;
  stats::GradeTotals totals;
  Sums required, other;
  int courses = 0;
  bool moderate = true;
  std::size_t searchFrom = 0;
  std::optional<std::size_t> fetchesWhenLoaded;

  grades::ExtractGradeRows(page, [&](const Text& row) {
    const std::size_t at = page.find(grades::kGradeRowMarker + row + kRowEnd, searchFrom);
    FUZZ_CHECK(at != Text::npos, "row " + fuzz::Shown(row) + " is not the next marked row");
    searchFrom = at + grades::kGradeRowMarker.size() + row.size();
    CheckCleanedRow(row);

    // The same row parsed beside AddCourse, from the same plan page state.
    grades::PlanPage beside{plan.text, answer};
    const std::optional<grades::CourseRecord> record = grades::ParseGradeRow(row, beside);
    const int rowsBefore = shell.ListRowCount();
    stats::AddCourse(row, totals, plan, shell);
    FUZZ_CHECK(beside.text == plan.text, "the plan page differs from a parse of the same row");
    if (!plan.text.empty() && !fetchesWhenLoaded) fetchesWhenLoaded = fetched.size();

    FUZZ_CHECK(
        shell.ListRowCount() == rowsBefore + (record ? 1 : 0),
        "list rows " + std::to_string(shell.ListRowCount()) + " for row " + fuzz::Shown(row));
    if (!record) return;
    ++courses;

    const double credits = record->name.compare(0, 10, "形势与政策") == 0 ? 0.25 : record->credits;
    const double gradePoint = stats::GradePoint(record->score);
    const std::vector<Text>& cells = shell.Rows().back().cells;
    FUZZ_CHECK(cells.size() == 5, std::to_string(cells.size()) + " cells");
    FUZZ_CHECK(cells[0] == record->name, fuzz::Shown(cells[0]));
    FUZZ_CHECK(cells[1] == record->attribute, fuzz::Shown(cells[1]));
    FUZZ_CHECK(cells[2] == text::NumberToText(credits), fuzz::Shown(cells[2]));
    FUZZ_CHECK(cells[3] == text::NumberToText(record->score), fuzz::Shown(cells[3]));
    FUZZ_CHECK(cells[4] == text::NumberToText(gradePoint), fuzz::Shown(cells[4]));
    FUZZ_CHECK(!std::isnan(record->credits) && !std::isnan(record->score), "a number read as NaN");

    Sums& sums = record->attribute == "必修" ? required : other;
    sums.credits += credits;
    sums.pointSum += gradePoint * credits;
    sums.scoreSum += record->score * credits;
    moderate = moderate && std::fabs(credits) <= kModerate && std::fabs(record->score) <= kModerate;
  });

  FUZZ_CHECK(shell.ListRowCount() == courses, std::to_string(shell.ListRowCount()) + " rows");
  const struct {
    const char* name;
    double actual, expected;
  } sums[] = {
      {"requiredCredits", totals.requiredCredits, required.credits},
      {"requiredPointSum", totals.requiredPointSum, required.pointSum},
      {"requiredScoreSum", totals.requiredScoreSum, required.scoreSum},
      {"otherCredits", totals.otherCredits, other.credits},
      {"otherPointSum", totals.otherPointSum, other.pointSum},
      {"otherScoreSum", totals.otherScoreSum, other.scoreSum},
      {"selectedAverage", totals.selectedAverage, 0},
      {"selectedGradePoint", totals.selectedGradePoint, 0},
  };
  for (const auto& sum : sums) {
    FUZZ_CHECK(fuzz::SameBits(sum.actual, sum.expected),
               std::string(sum.name) + " " + fuzz::Shown(sum.actual) + ", expected " +
                   fuzz::Shown(sum.expected));
    FUZZ_CHECK(!moderate || std::isfinite(sum.actual),
               std::string(sum.name) + " " + fuzz::Shown(sum.actual));
  }

  FUZZ_CHECK(fetched.empty() || fetched.front() == kEntryPath, fuzz::Shown(fetched.front()));
  for (const Text& path : fetched) FUZZ_CHECK(!path.empty(), "the empty path was fetched");
  FUZZ_CHECK(!fetchesWhenLoaded || fetched.size() == *fetchesWhenLoaded,
             std::to_string(fetched.size()) + " fetches, the plan page was loaded after " +
                 std::to_string(*fetchesWhenLoaded));
  return 0;
}
