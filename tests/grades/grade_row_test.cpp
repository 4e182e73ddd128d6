// Turning one row of the grade page into a course record.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "grades/grade_page.h"
#include "tests/support/grade_fixtures.h"

namespace grades {
namespace {

using support::FixtureCourse;
using support::GradeRowLines;
using support::JoinLines;
using text::Text;

using Lines = std::vector<Text>;

Lines Edited(const FixtureCourse& course, const std::function<void(Lines&)>& edit) {
  Lines lines = GradeRowLines(course);
  edit(lines);
  return lines;
}

// Line n (from 1) of the row's source.
Text& Line(Lines& lines, size_t n) {
  return lines.at(n - 1);
}

struct RowCase {
  const char* what;
  Text row;
  std::optional<CourseRecord> expected;
  int planFetches;  // the plan page's fetcher answers nothing
};

const FixtureCourse kCalculus{"高等数学", "3", "必修", "85"};
const CourseRecord kCalculusRecord{"高等数学", "必修", 3, 85};

std::vector<RowCase> RowCases() {
  return {
      {"a numeric score", JoinLines(GradeRowLines(kCalculus)), kCalculusRecord, 0},
      {"a zero score is not looked up", JoinLines(GradeRowLines({"体育", "1", "必修", "0"})),
       CourseRecord{"体育", "必修", 1, 0}, 0},
      {"a graded word is looked up", JoinLines(GradeRowLines({"军事理论", "2", "必修", "优秀"})),
       CourseRecord{"军事理论", "必修", 2, 90}, 1},
      {"a one-byte score line is not looked up",
       JoinLines(GradeRowLines({"军事理论", "2", "必修", "-"})),
       CourseRecord{"军事理论", "必修", 2, 0}, 0},
      {"credits with a fraction", JoinLines(GradeRowLines({"概率论", "2.5", "选修", "77.5"})),
       CourseRecord{"概率论", "选修", 2.5, 77.5}, 0},
      {"an empty credits line gives 0", JoinLines(GradeRowLines({"概率论", "", "选修", "60"})),
       CourseRecord{"概率论", "选修", 0, 60}, 0},
      {"spaces and &nbsp; vanish",
       JoinLines(GradeRowLines({"高等 数学&nbsp;", " 3 ", "必修", "8 5"})), kCalculusRecord, 0},
      {"a full-width space vanishes", JoinLines(GradeRowLines({"高等　数学", "3", "必修", "85"})),
       kCalculusRecord, 0},
      {"an upper-case cell tag is stripped like any other tag",
       JoinLines(Edited(kCalculus,
                        [](Lines& lines) {
                          for (Text& line : lines) {
                            if (line == "<td align=\"center\">") line = "<TD ALIGN=\"center\">";
                          }
                        })),
       kCalculusRecord, 0},
      {"an empty source line counts as a line",
       JoinLines(Edited(kCalculus, [](Lines& lines) { lines.insert(lines.begin() + 10, ""); })),
       CourseRecord{"高等数学", "", 0, 0}, 0},
      {"lines after the 23rd are ignored",
       JoinLines(Edited(kCalculus, [](Lines& lines) { lines.push_back("备注：补考"); })),
       kCalculusRecord, 0},
      {"exactly 23 lines hold a course",
       JoinLines(Edited(kCalculus, [](Lines& lines) { lines.resize(23); })), kCalculusRecord, 0},
      {"22 lines hold none", JoinLines(Edited(kCalculus, [](Lines& lines) { lines.resize(22); })),
       std::nullopt, 0},
      {"the empty row of an unterminated marker", "", std::nullopt, 0},
      {"a tag without > drops only the rest of the row",
       JoinLines(Edited(kCalculus,
                        [](Lines& lines) {
                          Line(lines, 24) = "    </P";
                          lines.resize(24);
                        })),
       kCalculusRecord, 0},
      {"a tag without > before the score line drops the lines the course needs",
       JoinLines(Edited(kCalculus,
                        [](Lines& lines) {
                          lines.resize(21);
                          Line(lines, 21) = "<p align=\"center\"";
                          lines.push_back("");
                          lines.push_back("85");
                        })),
       std::nullopt, 0},
  };
}

TEST(ParseGradeRow, ReadsTheCourseFromItsLines) {
  for (const RowCase& c : RowCases()) {
    SCOPED_TRACE(c.what);
    int fetches = 0;
    PlanPage plan{"", [&](const Text&) {
                    ++fetches;
                    return Text();
                  }};
    const std::optional<CourseRecord> record = ParseGradeRow(c.row, plan);
    ASSERT_EQ(record.has_value(), c.expected.has_value());
    if (record) {
      EXPECT_EQ(record->name, c.expected->name);
      EXPECT_EQ(record->attribute, c.expected->attribute);
      EXPECT_EQ(record->credits, c.expected->credits);
      EXPECT_EQ(record->score, c.expected->score);
    }
    EXPECT_EQ(fetches, c.planFetches);
  }
}

// The stripping as first written: remove the first tag, then search again from the first byte,
// until no "<" is left; an unclosed "<" ends it and goes with the rest of the text.
Text CleanStepByStep(Text row) {
  row = text::ReplaceSubtext(row, "<td align=\"center\">", "", 1, text::kAllMatches, true);
  for (;;) {
    const int32_t open = text::FindText(row, "<", 1, false);
    if (open == -1) break;
    const int32_t close = text::FindText(row, ">", open, false);
    if (close == -1) {
      row = text::LeftText(row, open - 1);
      break;
    }
    row = text::ReplaceTextAt(row, open, close - open + 1);
  }
  row = text::ReplaceSubtext(row, "&nbsp;", "", 1, text::kAllMatches, true);
  return text::RemoveAllSpaces(row);
}

TEST(CleanGradeRow, GivesWhatRemovingOneTagAtATimeGives) {
  const Text rows[] = {
      JoinLines(GradeRowLines(kCalculus)),
      "a<b>c<d>e",
      "<<a>>b",  // the first ">" closes the outer "<"
      "a>b<c",   // a lone ">" stays; the unclosed "<" goes with "c"
      "<td align=\"center\"><td align=\"center\">x</td>",
      "<td align=\"<td align=\"center\">\">y",  // removing the inner tag leaves a tag
      "\x81<b>c",    // "<" as second byte of a two-byte character starts no tag
      "a<\x81>b>c",  // nor does ">" as a second byte end one
      "&nb<i>sp;x",  // the entity appears only once the tag is gone
      "&nbsp&nbsp;;",
      "a <b> \r\n  c\r\n",
      "x\x81",  // a lone high byte at the end
      "<",
      "",
  };
  for (const Text& row : rows) {
    EXPECT_EQ(CleanGradeRow(row), CleanStepByStep(row)) << row;
  }
}

}  // namespace
}  // namespace grades
