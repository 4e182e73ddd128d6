// The sample students of the bundled academic-affairs server and the pages it builds for them,
// in the page structure the program's parsers read. Tests read the same tables, so that they
// can compute what the program must show for each student.
//
// All texts are GBK (this library compiles with the program's execution character set).
#pragma once

#include <vector>

#include "text/text.h"

namespace sample {

struct SampleCourse {
  text::Text number;       // 课程号
  text::Text sequence;     // 课序号
  text::Text name;         // 课程名, as the program lists it
  text::Text englishName;  // 英文课程名
  text::Text credits;      // 学分, as the grade page shows it
  text::Text attribute;    // 课程属性: 必修, 选修 or 任选
  text::Text score;        // 成绩, as the grade page shows it: a number or a grading word
  text::Text planScore;    // the number in the course's cell of the plan page, "" for none
  // The score the program must use: the number on the grade page; for a word, the plan page's
  // number when it is not 0, else 优… 90, 良… 80, 中… 70, 及格 60, any other word 0.
  double expectedScore = 0;
};

struct SampleStudent {
  text::Text number;       // 证件号: 10 or 13 bytes
  text::Text password;     // ASCII, at least 6 bytes
  const char* about = "";  // ASCII, for the account list the server prints
  std::vector<SampleCourse> courses;
};

const std::vector<SampleStudent>& SampleStudents();

// nullptr when no sample student has that number.
const SampleStudent* FindStudent(const text::Text& number);

// A student with courseCount (1 to 9999) generated courses, for benchmarks; not one of the
// sample students. Names are numbered with four digits ("课程0001"), so no name is the start of
// another; every tenth course is graded with a word that the plan page does not number.
inline constexpr const char* kGeneratedStudentNumber = "2099000000";
inline constexpr const char* kGeneratedStudentPassword = "bench1";
SampleStudent GeneratedStudent(int courseCount);

// The paths the program requests, relative to the server's base (the query is part of them),
// and the plan page the entry page names in its last src attribute.
inline constexpr const char* kLoginPath = "loginAction.do";
inline constexpr const char* kGradePath = "gradeLnAllAction.do?type=ln&oper=sxinfo&lnsxdm=001";
inline constexpr const char* kPlanEntryPath = "gradeLnAllAction.do?type=ln&oper=lnjhqk";
inline constexpr const char* kPlanPagePath = "lnjhqkAction.do?oper=detail";

// The opening tag of a course row on the grade page and the tag of its cells.
inline constexpr const char* kGradeRowMarker =
    "<tr class=\"odd\" onMouseOut=\"this.className='even';\" "
    "onMouseOver=\"this.className='evenfocus';\">";
inline constexpr const char* kCenterCellTag = "<td align=\"center\">";

// The two failure phrases of the login answer.
inline constexpr const char* kWrongPasswordPhrase = "您的密码不正确，请您重新输入！";
inline constexpr const char* kUnknownNumberPhrase = "你输入的证件号不存在，请您重新输入！";

// The login answers: a wrong password, an unknown number, and the page after a login.
text::Text WrongPasswordPage();
text::Text UnknownNumberPage();
text::Text LoginSuccessPage(const SampleStudent& student);

// The grade page of a student; nullptr (no login) gives the page without course rows.
text::Text GradePage(const SampleStudent* student);
// One course row: the marker, the cells on CR LF lines, "</tr>".
text::Text GradeRow(const SampleCourse& course);

// The plan-completion entry page (its last src names kPlanPagePath) and the plan page, on which
// each course name is followed by two centre cells: the credits, then the plan score on the
// cell's second line. nullptr (no login) gives pages without courses.
text::Text PlanEntryPage(const SampleStudent* student);
text::Text PlanPage(const SampleStudent* student);

// The page for a request the server does not know, and the one for a page that needs a login.
text::Text NotFoundPage();

// The error page of an answer with status 500.
text::Text ServerErrorPage();

}  // namespace sample
