// The sample pages hold each student's courses where the program's parsers read them: the
// rows are cut and cleaned here as the program does it, and the plan page is searched as the
// letter-grade lookup does, so a page change that would move a field shows up here.
#include "tools/sample-server/sample_data.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace sample {
namespace {

using text::FindText;
using text::Text;
using text::TextArray;

constexpr int32_t kMarkerLength = 94;
constexpr int32_t kCellTagLength = 19;

std::vector<Text> CourseRows(const Text& page) {
  std::vector<Text> rows;
  int32_t start = FindText(page, kGradeRowMarker, 1, false);
  while (start != -1) {
    const int32_t end = FindText(page, "</tr>", start, false);
    if (end == -1) break;
    rows.push_back(text::MidText(page, start + kMarkerLength, end - start - kMarkerLength));
    start = FindText(page, kGradeRowMarker, end, false);
  }
  return rows;
}

// The row's lines after the cleaning: cell tags out, every other tag out, "&nbsp;" and spaces
// out, split at CR LF.
TextArray CleanedLines(const Text& row) {
  Text cleaned = text::ReplaceSubtext(row, kCenterCellTag, "", 1, text::kAllMatches, true);
  for (int32_t open = FindText(cleaned, "<", 1, false); open != -1;
       open = FindText(cleaned, "<", 1, false)) {
    const int32_t close = FindText(cleaned, ">", open, false);
    if (close == -1) break;
    cleaned = text::ReplaceTextAt(cleaned, open, close - open + 1);
  }
  cleaned = text::ReplaceSubtext(cleaned, "&nbsp;", "", 1, text::kAllMatches, true);
  return text::SplitText(text::RemoveAllSpaces(cleaned), "\r\n");
}

// The number in the second centre cell after the first occurrence of the name.
double PlanNumber(const Text& plan, const Text& name) {
  const int32_t at = FindText(plan, name, 1, false);
  const int32_t first = FindText(plan, kCenterCellTag, at + text::TextLength(name), false);
  const int32_t second = FindText(plan, kCenterCellTag, first + kCellTagLength, false);
  const int32_t valueStart = second + kCellTagLength;
  const int32_t valueEnd = FindText(plan, "</td>", valueStart, false);
  const TextArray lines = text::SplitText(
      text::RemoveAllSpaces(text::MidText(plan, valueStart, valueEnd - valueStart)), "\r\n");
  return lines.size() >= 2 ? text::ToNumber(lines[1]) : 0;
}

double ResolvedScore(const SampleCourse& course, const Text& plan) {
  const double score = text::ToNumber(course.score);
  if (std::fabs(score) > 1e-7 || course.score.size() < 2) return score;
  const double planned = PlanNumber(plan, course.name);
  if (std::fabs(planned) > 1e-7) return planned;
  const Text first = text::LeftText(course.score, 2);
  if (first == "优") return 90;
  if (first == "良") return 80;
  if (first == "中") return 70;
  if (course.score == "及格") return 60;
  return planned;
}

// The sample students and the generated one of the benchmarks.
std::vector<SampleStudent> EveryStudent() {
  std::vector<SampleStudent> students = SampleStudents();
  students.push_back(GeneratedStudent(1000));
  return students;
}

TEST(SampleData, EveryCourseStandsOnTheLinesTheParserReads) {
  for (const SampleStudent& student : EveryStudent()) {
    SCOPED_TRACE(student.number);
    const std::vector<Text> rows = CourseRows(GradePage(&student));
    ASSERT_EQ(rows.size(), student.courses.size());
    for (size_t i = 0; i < rows.size(); ++i) {
      const SampleCourse& course = student.courses[i];
      const TextArray lines = CleanedLines(rows[i]);
      ASSERT_GE(lines.size(), 23u);
      EXPECT_EQ(lines[8], course.name);
      EXPECT_EQ(lines[14], course.credits);
      EXPECT_EQ(lines[17], course.attribute);
      EXPECT_EQ(lines[22], course.score);
    }
  }
}

TEST(SampleData, PlanPageGivesEachCourseTheScoreItIsMeantToHave) {
  for (const SampleStudent& student : EveryStudent()) {
    const Text plan = PlanPage(&student);
    for (const SampleCourse& course : student.courses) {
      SCOPED_TRACE(student.number + " " + course.name);
      EXPECT_EQ(PlanNumber(plan, course.name), text::ToNumber(course.planScore));
      EXPECT_EQ(ResolvedScore(course, plan), course.expectedScore);
    }
  }
}

TEST(SampleData, EntryPageNamesThePlanPageInItsLastSrc) {
  const Text entry = PlanEntryPage(&SampleStudents().front());
  const int32_t start = text::FindTextReverse(entry, "src=\"", std::nullopt, false) + 5;
  const int32_t end = FindText(entry, "\"", start, false);
  EXPECT_EQ(text::MidText(entry, start, end - start), kPlanPagePath);
  EXPECT_NE(FindText(entry, "src=\"", 1, false), start - 5);  // an earlier src is passed over
}

TEST(SampleData, StudentsCoverWhatTheProgramMustHandle) {
  const std::vector<SampleStudent>& students = SampleStudents();
  ASSERT_GE(students.size(), 3u);
  std::set<Text> words;
  bool wordWithPlanNumber = false;
  bool emptyList = false;
  std::set<Text> names;
  for (const SampleStudent& student : students) {
    EXPECT_TRUE(student.number.size() == 10 || student.number.size() == 13) << student.number;
    EXPECT_GE(student.password.size(), 6u);
    EXPECT_EQ(FindStudent(student.number), &student);
    emptyList = emptyList || student.courses.empty();
    for (const SampleCourse& course : student.courses) {
      if (text::ToNumber(course.score) == 0) words.insert(course.score);
      if (text::ToNumber(course.score) == 0 && !course.planScore.empty()) {
        wordWithPlanNumber = true;
      }
      names.insert(course.name);
    }
  }
  for (const char* word : {"优秀", "良好", "中等", "及格", "不及格"}) {
    EXPECT_TRUE(words.count(word)) << word;
  }
  for (const char* name : {"形势与政策", "形势与政策1", "形势与政策2"}) {
    EXPECT_TRUE(names.count(name)) << name;
  }
  EXPECT_TRUE(wordWithPlanNumber);
  EXPECT_TRUE(emptyList);
  EXPECT_EQ(FindStudent("2099999999"), nullptr);
  EXPECT_EQ(FindStudent(kGeneratedStudentNumber), nullptr);
}

TEST(SampleData, GeneratedStudentHasTheCoursesAskedForWithDistinctNames) {
  const SampleStudent student = GeneratedStudent(1000);
  EXPECT_EQ(student.number.size(), 10u);
  EXPECT_GE(student.password.size(), 6u);
  ASSERT_EQ(student.courses.size(), 1000u);
  std::set<Text> names;
  for (const SampleCourse& course : student.courses) names.insert(course.name);
  EXPECT_EQ(names.size(), 1000u);
  EXPECT_EQ(student.courses.back().name, "课程1000");
}

TEST(SampleData, PagesWithoutLoginHoldNoCourse) {
  EXPECT_TRUE(CourseRows(GradePage(nullptr)).empty());
  EXPECT_EQ(FindText(PlanPage(nullptr), "必修", 1, false), -1);
  EXPECT_EQ(FindText(PlanEntryPage(nullptr), "src=\"", 1, false), -1);
}

TEST(SampleData, LoginAnswersCarryExactlyTheirPhrase) {
  EXPECT_NE(FindText(WrongPasswordPage(), kWrongPasswordPhrase, 1, false), -1);
  EXPECT_EQ(FindText(WrongPasswordPage(), kUnknownNumberPhrase, 1, false), -1);
  EXPECT_NE(FindText(UnknownNumberPage(), kUnknownNumberPhrase, 1, false), -1);
  EXPECT_EQ(FindText(UnknownNumberPage(), kWrongPasswordPhrase, 1, false), -1);
  const Text success = LoginSuccessPage(SampleStudents().front());
  EXPECT_EQ(FindText(success, kWrongPasswordPhrase, 1, false), -1);
  EXPECT_EQ(FindText(success, kUnknownNumberPhrase, 1, false), -1);
}

}  // namespace
}  // namespace sample
