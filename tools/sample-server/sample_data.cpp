#include "tools/sample-server/sample_data.h"

#include <cstdio>
#include <string>

namespace sample {

using text::Text;

namespace {

// The course tables. On each plan page a name a lookup searches for comes first in its own row
// (形势与政策 before 形势与政策1), so each word-graded course finds its own cell.
std::vector<SampleStudent> MakeStudents() {
  std::vector<SampleStudent> students;

  students.push_back(SampleStudent{
      "2020110101",
      "123456",
      "ordinary: 15 courses, numeric scores",
      {
          {"10010001", "01", "高等数学A1", "Advanced Mathematics A1", "5", "必修", "86", "86", 86},
          {"10010002", "01", "线性代数", "Linear Algebra", "3", "必修", "78", "78", 78},
          {"10020001", "02", "大学英语1", "College English 1", "4", "必修", "81", "81", 81},
          {"10030001", "01", "中国近现代史纲要", "Outline of Modern Chinese History", "2", "必修",
           "90", "90", 90},
          {"10040001", "03", "程序设计基础", "Fundamentals of Programming", "3.5", "必修", "92",
           "92", 92},
          {"10050001", "01", "大学物理A", "College Physics A", "4", "必修", "73", "73", 73},
          {"10060001", "01", "思想道德与法治", "Ethics and Rule of Law", "2.5", "必修", "88", "88",
           88},
          {"10070001", "05", "体育1", "Physical Education 1", "1", "必修", "84", "84", 84},
          {"20010001", "01", "离散数学", "Discrete Mathematics", "3", "必修", "69", "69", 69},
          {"20020001", "01", "数据结构", "Data Structures", "4", "必修", "95", "95", 95},
          {"30010001", "01", "音乐鉴赏", "Music Appreciation", "1.5", "选修", "91", "91", 91},
          {"30020001", "02", "心理健康教育", "Mental Health Education", "1", "选修", "87", "87",
           87},
          {"30030001", "01", "概率论与数理统计", "Probability and Statistics", "3", "必修", "64",
           "64", 64},
          {"30040001", "01", "经济学原理", "Principles of Economics", "2", "任选", "76", "76", 76},
          {"30050001", "01", "电路分析", "Circuit Analysis", "3", "必修", "60", "60", 60},
      }});

  students.push_back(SampleStudent{
      "2019080123456",
      "cx&2019 #+%",
      "many courses: every grading word, Situation and Policy and its numbered parts",
      {
          {"11010001", "01", "高等数学A1", "Advanced Mathematics A1", "5", "必修", "91", "91", 91},
          {"11010002", "01", "高等数学A2", "Advanced Mathematics A2", "5", "必修", "87", "87", 87},
          {"11020001", "01", "线性代数", "Linear Algebra", "3", "必修", "82", "82", 82},
          {"11030001", "02", "大学英语1", "College English 1", "4", "必修", "85.5", "85.5", 85.5},
          {"11030002", "02", "大学英语2", "College English 2", "4", "必修", "79", "79", 79},
          {"11040001", "01", "大学物理B", "College Physics B", "3.5", "必修", "74", "74", 74},
          {"11050001", "01", "程序设计基础", "Fundamentals of Programming", "3", "必修", "93", "93",
           93},
          {"11060001", "01", "中国近现代史纲要", "Outline of Modern Chinese History", "2", "必修",
           "良好", "", 80},
          {"11070001", "01", "马克思主义基本原理", "Basic Principles of Marxism", "3", "必修",
           "中等", "", 70},
          {"11080001", "01", "思想道德与法治", "Ethics and Rule of Law", "2.5", "必修", "优秀", "",
           90},
          {"11090001", "01", "形势与政策", "Situation and Policy", "1", "必修", "优秀", "", 90},
          {"11090011", "01", "形势与政策1", "Situation and Policy 1", "0.5", "必修", "良好", "",
           80},
          {"11090012", "01", "形势与政策2", "Situation and Policy 2", "0.5", "必修", "优秀", "95",
           95},
          {"11090013", "01", "形势与政策3", "Situation and Policy 3", "0.5", "必修", "中等", "",
           70},
          {"11090014", "01", "形势与政策4", "Situation and Policy 4", "0.5", "必修", "及格", "",
           60},
          {"11100001", "01", "军事理论", "Military Theory", "2", "必修", "良好", "84", 84},
          {"11100002", "01", "军事训练", "Military Training", "2", "必修", "合格", "", 0},
          {"11110001", "03", "体育1", "Physical Education 1", "1", "必修", "优秀", "", 90},
          {"11110002", "03", "体育2", "Physical Education 2", "1", "必修", "及格", "", 60},
          {"11120001", "01", "劳动教育", "Labour Education", "1", "必修", "不及格", "", 0},
          {"21010001", "01", "数据结构", "Data Structures", "4", "必修", "88", "88", 88},
          {"21020001", "01", "离散数学", "Discrete Mathematics", "3", "必修", "76", "76", 76},
          {"21030001", "01", "计算机组成原理", "Computer Organization", "4", "必修", "71", "71",
           71},
          {"21040001", "01", "操作系统", "Operating Systems", "4", "必修", "83", "83", 83},
          {"21050001", "01", "计算机网络", "Computer Networks", "3.5", "必修", "90", "90", 90},
          {"21060001", "01", "数据库系统", "Database Systems", "3", "必修", "86", "86", 86},
          {"21070001", "01", "软件工程", "Software Engineering", "2.5", "必修", "78", "78", 78},
          {"21080001", "01", "编译原理", "Compiler Principles", "3", "必修", "65", "65", 65},
          {"21090001", "01", "概率论与数理统计", "Probability and Statistics", "3", "必修", "81",
           "81", 81},
          {"21100001", "01", "大学物理实验", "College Physics Lab", "1.5", "必修", "良好", "86",
           86},
          {"31010001", "01", "大学生职业发展与就业指导", "Career Development", "1", "选修", "中等",
           "", 70},
          {"31020001", "01", "创新创业基础", "Innovation and Entrepreneurship", "1", "选修", "及格",
           "", 60},
          {"31030001", "02", "音乐鉴赏", "Music Appreciation", "1.5", "选修", "优秀", "", 90},
          {"31040001", "01", "工程制图", "Engineering Drawing", "2", "选修", "57", "57", 57},
          {"41010001", "01", "中国传统文化", "Traditional Chinese Culture", "2", "任选", "92", "92",
           92},
          {"41020001", "01", "影视欣赏", "Film Appreciation", "1", "任选", "良好", "", 80},
          {"41030001", "01", "经济学原理", "Principles of Economics", "2", "任选", "68", "68", 68},
      }});

  students.push_back(SampleStudent{"2021000001", "empty1", "no courses yet", {}});
  return students;
}

Text Page(const Text& title, const Text& body) {
  return "<html>\r\n<head>\r\n"
         "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=GBK\">\r\n"
         "<title>" +
         title + "</title>\r\n</head>\r\n<body>\r\n" + body + "</body>\r\n</html>\r\n";
}

Text LoginFormPage(const Text& message) {
  return Page("URP 综合教务系统 - 登录",
              "<table width=\"100%\" border=\"0\">\r\n<tr>\r\n"
              "<td class=\"errorTop\"><strong><font color=\"#990000\">" +
                  message +
                  "</font></strong></td>\r\n</tr>\r\n</table>\r\n"
                  "<form name=\"loginForm\" method=\"get\" action=\"loginAction.do\">\r\n"
                  "证件号：<input type=\"text\" name=\"zjh\">\r\n"
                  "密码：<input type=\"password\" name=\"mm\">\r\n"
                  "<input type=\"submit\" value=\"登录\">\r\n</form>\r\n");
}

Text LoginNeededPage() {
  return Page("错误信息", "<p>请您登录后再使用</p>\r\n");
}

Text CenterCell(const Text& value) {
  return Text(kCenterCellTag) + "\r\n    " + value + "\r\n</td>\r\n";
}

}  // namespace

const std::vector<SampleStudent>& SampleStudents() {
  static const std::vector<SampleStudent> students = MakeStudents();
  return students;
}

const SampleStudent* FindStudent(const Text& number) {
  for (const SampleStudent& student : SampleStudents()) {
    if (student.number == number) return &student;
  }
  return nullptr;
}

SampleStudent GeneratedStudent(int courseCount) {
  static const struct {
    const char* word;
    double score;
  } kWords[] = {{"优秀", 90}, {"良好", 80}, {"中等", 70}, {"及格", 60}, {"不及格", 0}};
  static const char* const kCredits[] = {"1", "1.5", "2", "2.5", "3", "3.5", "4", "5"};
  static const char* const kAttributes[] = {"必修", "必修", "选修", "任选"};

  SampleStudent student{
      kGeneratedStudentNumber, kGeneratedStudentPassword, "generated courses, for benchmarks", {}};
  for (int i = 0; i < courseCount; ++i) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%04d", i + 1);
    SampleCourse course;
    course.number = Text("9000") + digits;
    course.sequence = "01";
    course.name = Text("课程") + digits;
    course.englishName = Text("Course ") + digits;
    course.credits = kCredits[i % 8];
    course.attribute = kAttributes[i % 4];
    if (i % 10 == 9) {
      course.score = kWords[(i / 10) % 5].word;
      course.expectedScore = kWords[(i / 10) % 5].score;
    } else {
      const int score = 55 + (i * 7) % 45;
      course.score = std::to_string(score);
      course.planScore = course.score;
      course.expectedScore = score;
    }
    student.courses.push_back(std::move(course));
  }
  return student;
}

Text WrongPasswordPage() {
  return LoginFormPage(kWrongPasswordPhrase);
}

Text UnknownNumberPage() {
  return LoginFormPage(kUnknownNumberPhrase);
}

Text LoginSuccessPage(const SampleStudent& student) {
  return "<html>\r\n<head>\r\n"
         "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=GBK\">\r\n"
         "<title>学分制综合教务</title>\r\n</head>\r\n"
         "<frameset rows=\"95,*\" frameborder=\"no\">\r\n"
         "<frame src=\"menu/top.jsp?zjh=" +
         student.number +
         "\" name=\"topFrame\" scrolling=\"no\">\r\n"
         "<frame src=\"menu/mainFrame.jsp\" name=\"mainFrame\">\r\n"
         "</frameset>\r\n</html>\r\n";
}

// Line by line after the parser's cleaning (tags and spaces gone, CR LF kept), a row reads:
// 1 empty (the marker's line end), then three lines per cell (tag, value, end tag), so the
// values of the first six cells stand on lines 3, 6, 9 (name), 12, 15 (credits) and
// 18 (attribute); the score cell holds a paragraph tag and a "&nbsp;" line before its value,
// which stands on line 23.
Text GradeRow(const SampleCourse& course) {
  return Text(kGradeRowMarker) + "\r\n" + CenterCell(course.number) + CenterCell(course.sequence) +
         CenterCell(course.name) + CenterCell(course.englishName) + CenterCell(course.credits) +
         CenterCell(course.attribute) + kCenterCellTag +
         "\r\n<p align=\"center\">\r\n&nbsp;\r\n    " + course.score +
         "\r\n&nbsp;</P>\r\n</td>\r\n</tr>\r\n";
}

Text GradePage(const SampleStudent* student) {
  if (student == nullptr) return LoginNeededPage();
  Text rows;
  for (const SampleCourse& course : student->courses) rows += GradeRow(course);
  return Page("全部及格成绩",
              "<table width=\"100%\" border=\"0\" cellpadding=\"0\" cellspacing=\"0\" "
              "class=\"titleTop2\">\r\n<tr>\r\n<td class=\"pageAlign\">全部成绩</td>\r\n</tr>\r\n"
              "</table>\r\n"
              "<table cellpadding=\"0\" width=\"100%\" class=\"displayTag\" cellspacing=\"1\" "
              "border=\"0\" id=\"user\">\r\n<thead>\r\n<tr>\r\n"
              "<th align=\"center\" class=\"sortable\">课程号</th>\r\n"
              "<th align=\"center\" class=\"sortable\">课序号</th>\r\n"
              "<th align=\"center\" class=\"sortable\">课程名</th>\r\n"
              "<th align=\"center\" class=\"sortable\">英文课程名</th>\r\n"
              "<th align=\"center\" class=\"sortable\">学分</th>\r\n"
              "<th align=\"center\" class=\"sortable\">课程属性</th>\r\n"
              "<th align=\"center\" class=\"sortable\">成绩</th>\r\n"
              "</tr>\r\n</thead>\r\n" +
                  rows + "</table>\r\n");
}

Text PlanEntryPage(const SampleStudent* student) {
  if (student == nullptr) return LoginNeededPage();
  return "<html>\r\n<head>\r\n"
         "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=GBK\">\r\n"
         "<title>方案完成情况</title>\r\n"
         "<script type=\"text/javascript\" src=\"js/calendar.js\"></script>\r\n"
         "</head>\r\n<body>\r\n"
         "<img src=\"images/title.gif\" alt=\"\">\r\n"
         "<iframe name=\"lnfaIfra\" src=\"" +
         Text(kPlanPagePath) +
         "\" width=\"100%\" height=\"600\" frameborder=\"0\"></iframe>\r\n"
         "</body>\r\n</html>\r\n";
}

Text PlanPage(const SampleStudent* student) {
  if (student == nullptr) return LoginNeededPage();
  Text rows;
  for (const SampleCourse& course : student->courses) {
    rows += "<tr class=\"odd\">\r\n<td>\r\n    " + course.number + "\r\n</td>\r\n<td>\r\n    " +
            course.name + "\r\n</td>\r\n" + CenterCell(course.credits) +
            CenterCell(course.planScore) + "</tr>\r\n";
  }
  return Page("方案完成情况",
              "<table cellpadding=\"0\" width=\"100%\" class=\"displayTag\" cellspacing=\"1\" "
              "border=\"0\">\r\n<tr>\r\n<th>课程号</th>\r\n<th>课程名</th>\r\n<th>学分</th>\r\n"
              "<th>成绩</th>\r\n</tr>\r\n" +
                  rows + "</table>\r\n");
}

Text NotFoundPage() {
  return Page("404", "<h1>404 Not Found</h1>\r\n");
}

Text ServerErrorPage() {
  return "<html><body><h1>500 Internal Server Error</h1></body></html>";
}

}  // namespace sample
