// Parsing a grade page into the course list: the rate in courses per second must not fall as
// the page grows, since every step is meant to be linear in the page.
#include <benchmark/benchmark.h>

#include <vector>

#include "grades/grade_page.h"
#include "stats/course_entry.h"
#include "tests/support/fake_shell.h"
#include "tests/support/grade_fixtures.h"

namespace {

using text::Text;

// A page of n courses; every tenth is graded with a word that the plan page resolves.
Text SyntheticPage(int courses) {
  static const char* const kScores[] = {"85", "92", "67.5", "74", "100", "58", "81", "90", "66"};
  std::vector<support::FixtureCourse> list;
  list.reserve(static_cast<size_t>(courses));
  for (int i = 0; i < courses; ++i) {
    const Text score = i % 10 == 9 ? "良好" : kScores[i % 9];
    list.push_back({"课程" + text::NumberToText(i), i % 4 == 0 ? "2.5" : "3",
                    i % 3 == 0 ? "选修" : "必修", score, text::NumberToText(10000000 + i)});
  }
  return support::GradePage(list);
}

void ParseGradePage(benchmark::State& state) {
  const int courses = static_cast<int>(state.range(0));
  const Text page = SyntheticPage(courses);
  const Text planPage = support::PlanPage({{"其他课程", "2", "88"}});
  for (auto _ : state) {
    support::FakeShell shell;
    stats::GradeTotals totals;
    grades::PlanPage plan{planPage, nullptr};  // loaded already: the fetches are not measured
    grades::ExtractGradeRows(page,
                             [&](const Text& row) { stats::AddCourse(row, totals, plan, shell); });
    if (shell.ListRowCount() != courses) state.SkipWithError("courses lost");
    benchmark::DoNotOptimize(totals);
  }
  state.SetItemsProcessed(state.iterations() * courses);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(page.size()));
}
BENCHMARK(ParseGradePage)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// One row of n bytes, nearly all markup: removing one tag at a time and searching again from the
// first byte would take time growing with the square of the row.
void CleanTagHeavyRow(benchmark::State& state) {
  Text row;
  while (static_cast<int64_t>(row.size()) < state.range(0)) row += "<b>成绩</b>&nbsp; \r\n";
  row += "<unclosed";
  for (auto _ : state) benchmark::DoNotOptimize(grades::CleanGradeRow(row));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(row.size()));
}
BENCHMARK(CleanTagHeavyRow)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

}  // namespace
