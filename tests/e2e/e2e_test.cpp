// The real executable under a virtual X display, against the sample server on loopback, driven
// with xdotool as a student drives it: log in, look at the list, tick rows, ask for the
// evaluation, save the report and compare the file byte for byte with what the sample data say
// it must hold; then the server's faults, a failing save and the two ways to end the program.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

#include "tests/e2e/expected_report.h"
#include "tests/e2e/program_session.h"
#include "tests/e2e/utf8_from_gbk.h"
#include "tools/sample-server/sample_data.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;
using sample::SampleCourse;
using sample::SampleStudent;
using text::Text;

const SessionPaths kPaths{CX_E2E_PROGRAM, CX_SAMPLE_SERVER, CX_CLIPBOARD_READER, CX_E2E_PORT};
const fs::path kOutput = CX_E2E_OUTPUT;

const Text kTitle = "澄溪学院成绩计算器";
const Text kNetworkErrorCaption = "网络错误：";
const Text kLoginFailedCaption = "用户名/密码错误：";

std::string ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> FolderEntries(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

// Byte for byte, with a short account of the first difference instead of two whole pages.
::testing::AssertionResult SameBytes(const std::string& saved, const std::string& expected) {
  if (saved == expected) return ::testing::AssertionSuccess();
  size_t at = 0;
  while (at < saved.size() && at < expected.size() && saved[at] == expected[at]) ++at;
  const auto around = [at](const std::string& s) {
    const size_t from = at < 40 ? 0 : at - 40;
    return ::testing::PrintToString(s.substr(from, 120));
  };
  return ::testing::AssertionFailure()
         << "the saved file (" << saved.size() << " bytes) differs from the expected report ("
         << expected.size() << " bytes) from byte " << at << ":\n  saved:    " << around(saved)
         << "\n  expected: " << around(expected);
}

// The proposed name for the local date of the moment.
std::string ProposedNameNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return Utf8FromGbk(ProposedFileName(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday));
}

class EndToEnd : public ::testing::Test {
 protected:
  ProgramSession& Start(const SessionOptions& options = {}) {
    session_ = std::make_unique<ProgramSession>(kPaths, options, Work());
    session_->StartProgram();
    return *session_;
  }

  void TearDown() override {
    if (session_ && HasFailure()) std::cerr << "program log:\n" << session_->ProgramLog() << "\n";
    session_.reset();  // every child process ends here, whatever happened
  }

  static std::string CaseName() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : name) {
      if (c == '/') c = '_';
    }
    return name;
  }
  static fs::path Work() { return kOutput / "work" / CaseName(); }
  // Screenshots stay in the build tree for a look by eye.
  void Screenshot(unsigned long window, const std::string& what) {
    session_->X().Screenshot(window, kOutput / "screenshots" / (CaseName() + "-" + what + ".png"));
  }

  // Logs the student in with Enter in the password box and waits for the grade window.
  WindowInfo LogIn(const SampleStudent& student,
                   std::chrono::milliseconds limit = std::chrono::seconds(20)) {
    const WindowInfo login = session_->WaitForLoginWindow();
    session_->TypeLogin(login, student.number, student.password);
    session_->X().Key("Return");
    return session_->WaitForGradeWindow(limit);
  }

  // Saves to the path and confirms the answer; the folder then holds nothing but the report.
  void SaveAndConfirm(const WindowInfo& grade, const fs::path& path, bool replaces,
                      const std::string& screenshot = "") {
    const std::string dayBefore = ProposedNameNow();  // the click may fall on either day
    const ProgramSession::SaveResult saved = session_->SaveReport(grade, path, replaces);
    const std::string dayAfter = ProposedNameNow();
    EXPECT_TRUE(saved.proposedName == dayBefore || saved.proposedName == dayAfter)
        << saved.proposedName << " proposed, not " << dayAfter;
    if (!screenshot.empty()) Screenshot(saved.answer.id, screenshot);
    session_->ConfirmBox(saved.answer);
    EXPECT_EQ(FolderEntries(path.parent_path()), std::vector<std::string>{"report.html"});
  }

  // Esc in the grade window ends the program with exit code 0.
  void CloseWithEscape(const WindowInfo& window) {
    session_->PressEscape(window);
    EXPECT_EQ(session_->Program().WaitForExit(std::chrono::seconds(10)), 0);
  }

  std::unique_ptr<ProgramSession> session_;
};

// --- The three sample students -----------------------------------------------------------------

const std::string kLogin = "/loginAction.do";
const std::string kGrades = "/gradeLnAllAction.do";

enum class LoginBy { EnterInPasswordBox, EnterInNumberBox, Button };

struct StudentCase {
  const char* label;
  size_t student;  // index into the sample students
  LoginBy loginBy;
  // The paths the server saw: the grade page once, the plan pages only for grading words.
  std::vector<std::string> requests;
};

void PrintTo(const StudentCase& c, std::ostream* out) {
  *out << c.label;
}

class Students : public EndToEnd, public ::testing::WithParamInterface<StudentCase> {};

TEST_P(Students, LogInTickRowsAskForTheEvaluationAndSaveTheReportByteForByte) {
  const SampleStudent& student = sample::SampleStudents().at(GetParam().student);
  ProgramSession& session = Start();
  const WindowInfo login = session.WaitForLoginWindow();
  session.TypeLogin(login, student.number, student.password);
  Screenshot(login.id, "login");
  switch (GetParam().loginBy) {
    case LoginBy::EnterInPasswordBox:
      session.X().Key("Return");
      break;
    case LoginBy::EnterInNumberBox:
      session.ClickNumberBox(login);
      session.X().Key("Return");
      break;
    case LoginBy::Button:
      session.ClickLoginButton(login);
      break;
  }
  const WindowInfo grade = session.WaitForGradeWindow();
  Screenshot(grade.id, "grade");

  // Untick the first two rows with Space; the report was fixed when the window opened.
  session.ClickFirstRow(grade);
  session.X().Key("space");
  session.X().Key("Down");
  session.X().Key("space");
  Screenshot(grade.id, "two-rows-unticked");

  session.ClickEvaluation(grade);
  const WindowInfo evaluation = session.WaitForBox(kTitle);
  Screenshot(0, "evaluation");
  session.ConfirmBox(evaluation);

  const fs::path folder = Work() / "reports";
  fs::create_directories(folder);
  SaveAndConfirm(grade, folder / "report", false, "saved");  // the dialog adds ".html"
  EXPECT_TRUE(SameBytes(ReadFile(folder / "report.html"),
                        ExpectedReport(student.courses, sample::GradePage(&student))));
  EXPECT_EQ(session.ServerRequests(), GetParam().requests);

  // Nothing else is open: no message came while the window opened.
  const std::vector<WindowInfo> shown = session.X().VisibleWindows(session.Program().Pid());
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].id, grade.id);
  CloseWithEscape(grade);
}

INSTANTIATE_TEST_SUITE_P(
    E2e, Students,
    ::testing::Values(StudentCase{"Ordinary", 0, LoginBy::EnterInPasswordBox, {kLogin, kGrades}},
                      // The plan entry page has the grade page's path, with another query.
                      StudentCase{"LetterGradesAndSituationAndPolicy",
                                  1,
                                  LoginBy::Button,
                                  {kLogin, kGrades, kGrades, "/lnjhqkAction.do"}},
                      StudentCase{"NoCourses", 2, LoginBy::EnterInNumberBox, {kLogin, kGrades}}),
    [](const auto& info) { return std::string(info.param.label); });

// --- Login window ------------------------------------------------------------------------------

TEST_F(EndToEnd, WrongPasswordIsReportedAndTheRightOneThenLogsIn) {
  const SampleStudent& student = sample::SampleStudents().front();
  ProgramSession& session = Start();
  const WindowInfo login = session.WaitForLoginWindow();
  session.TypeLogin(login, student.number, student.password + "x");
  session.X().Key("Return");
  const WindowInfo box = session.WaitForBox(kLoginFailedCaption);
  Screenshot(0, "wrong-password");
  session.ConfirmBox(box);

  // The login window is still there for another try.
  session.TypeLogin(login, student.number, student.password);
  session.X().Key("Return");
  CloseWithEscape(session.WaitForGradeWindow());
}

TEST_F(EndToEnd, EscInTheLoginWindowEndsTheProgramWithCodeZero) {
  ProgramSession& session = Start();
  const WindowInfo login = session.WaitForLoginWindow();
  session.PressEscape(login);
  EXPECT_EQ(session.Program().WaitForExit(std::chrono::seconds(10)), 0);
}

TEST_F(EndToEnd, NoServerIsANetworkErrorAndTheLoginWindowStays) {
  ProgramSession& session = Start(SessionOptions{.startServer = false});
  const WindowInfo login = session.WaitForLoginWindow();
  session.TypeLogin(login, "2020110101", "123456");
  session.X().Key("Return");
  const WindowInfo box = session.WaitForBox(kNetworkErrorCaption);
  Screenshot(0, "no-server");
  session.ConfirmBox(box);
  const std::vector<WindowInfo> shown = session.X().VisibleWindows(session.Program().Pid());
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].id, login.id);
  session.PressEscape(login);
  EXPECT_EQ(session.Program().WaitForExit(std::chrono::seconds(10)), 0);
}

// The request waits, but the window still answers: Esc closes it at once. The process ends
// with 0 once the request is over (here: the server goes away; else after 30 s of silence).
TEST_F(EndToEnd, EscClosesTheLoginWindowWhileTheLoginAnswerStalls) {
  const SampleStudent& student = sample::SampleStudents().front();
  ProgramSession& session = Start(SessionOptions{.fault = "stall-login"});
  const WindowInfo login = session.WaitForLoginWindow();
  session.TypeLogin(login, student.number, student.password);
  session.X().Key("Return");
  session.WaitForServerRequests(1);
  Screenshot(login.id, "waiting");
  session.PressEscape(login);
  session.X().WaitUntilGone(session.Program().Pid(), login.id, "login window",
                            std::chrono::seconds(5));
  session.StopServer();
  EXPECT_EQ(session.Program().WaitForExit(std::chrono::seconds(10)), 0);
}

// --- The server's faults -----------------------------------------------------------------------

struct FaultCase {
  const char* label;
  const char* fault;
  // The courses the list must hold and the page the report must end with, from the data.
  std::vector<SampleCourse> (*courses)(const SampleStudent&);
  Text (*page)(const SampleStudent&);
  bool networkErrorMessage;  // "未能获取成绩列表，请稍后重试。" once the window is shown
  int secondsToGradeWindow;
};

std::vector<SampleCourse> AllCourses(const SampleStudent& s) {
  return s.courses;
}
std::vector<SampleCourse> NoCourses(const SampleStudent&) {
  return {};
}
std::vector<SampleCourse> FirstCourse(const SampleStudent& s) {
  return {s.courses.front()};
}
Text WholePage(const SampleStudent& s) {
  return sample::GradePage(&s);
}
Text NoPage(const SampleStudent&) {
  return "";
}
// The page up to the zero byte that the server puts before the second course row.
Text PageUpToSecondRow(const SampleStudent& s) {
  const Text page = sample::GradePage(&s);
  return page.substr(0, page.find(sample::kGradeRowMarker, page.find(sample::kGradeRowMarker) + 1));
}
// Two bytes that are no GBK character after the first course name.
Text PageWithInvalidGbk(const SampleStudent& s) {
  Text page = sample::GradePage(&s);
  const Text& name = s.courses.front().name;
  return page.insert(page.find(name) + name.size(), "\xFF\x80");
}
Text PageWithoutRows(const SampleStudent&) {
  SampleStudent withoutCourses;
  return sample::GradePage(&withoutCourses);
}
Text ServerErrorPage(const SampleStudent&) {
  return sample::ServerErrorPage();
}

void PrintTo(const FaultCase& c, std::ostream* out) {
  *out << c.label;
}

class Faults : public EndToEnd, public ::testing::WithParamInterface<FaultCase> {};

// The program neither crashes nor hangs: the grade window opens (with the network message when
// nothing came), and saving over an earlier report replaces it whole with what did come.
TEST_P(Faults, StudentSeesWhatCameAndTheSavedReportReplacesTheOldOneWhole) {
  const FaultCase& c = GetParam();
  const SampleStudent& student = sample::SampleStudents().front();
  const fs::path folder = Work() / "reports";
  ProgramSession& session = Start(SessionOptions{.fault = c.fault});
  fs::create_directories(folder);
  std::ofstream(folder / "report.html", std::ios::binary) << "an earlier report\n";

  const WindowInfo grade = LogIn(student, std::chrono::seconds(c.secondsToGradeWindow));
  if (c.networkErrorMessage) {
    const WindowInfo box = session.WaitForBox(kNetworkErrorCaption);
    Screenshot(0, "message");
    session.ConfirmBox(box);
  }
  Screenshot(grade.id, "grade");

  SaveAndConfirm(grade, folder / "report.html", true);
  EXPECT_TRUE(SameBytes(ReadFile(folder / "report.html"),
                        ExpectedReport(c.courses(student), c.page(student))));
  CloseWithEscape(grade);
}

INSTANTIATE_TEST_SUITE_P(
    E2e, Faults,
    ::testing::Values(FaultCase{"NoCourseRows", "no-rows", NoCourses, PageWithoutRows, false, 20},
                      FaultCase{"Status500", "500", NoCourses, ServerErrorPage, false, 20},
                      FaultCase{"LongHeaderBlock", "long-header", AllCourses, WholePage, false, 20},
                      FaultCase{"ZeroByte", "zero-byte", FirstCourse, PageUpToSecondRow, false, 20},
                      FaultCase{"InvalidGbk", "invalid-gbk", AllCourses, PageWithInvalidGbk, false,
                                20},
                      FaultCase{"CloseMidBody", "close-mid-body", NoCourses, NoPage, true, 20},
                      // The exchange gives up after 30 s without a byte.
                      FaultCase{"StallMidBody", "stall", NoCourses, NoPage, true, 45},
                      FaultCase{"RedirectToAnotherPort", "redirect-other-port", AllCourses,
                                WholePage, false, 20}),
    [](const auto& info) { return std::string(info.param.label); });

// --- A save that fails -------------------------------------------------------------------------

TEST_F(EndToEnd, FailedSaveKeepsTheEarlierReportAndTheNextSaveSucceeds) {
  const SampleStudent& student = sample::SampleStudents().front();
  const fs::path folder = Work() / "reports";
  ProgramSession& session = Start(SessionOptions{.ignoreFileSizeSignal = true});
  fs::create_directories(folder);
  const std::string earlier = "an earlier report\n";
  std::ofstream(folder / "report.html", std::ios::binary) << earlier;
  const WindowInfo grade = LogIn(student);

  // A file size limit below the report's size: the write fails as on a full disk, even for root.
  // Only the soft limit: raising it again needs no privilege.
  rlimit before{};
  ASSERT_EQ(prlimit(session.Program().Pid(), RLIMIT_FSIZE, nullptr, &before), 0);
  const rlimit small{1024, before.rlim_max};
  ASSERT_EQ(prlimit(session.Program().Pid(), RLIMIT_FSIZE, &small, nullptr), 0);
  SaveAndConfirm(grade, folder / "report.html", true, "save-failed");
  EXPECT_EQ(ReadFile(folder / "report.html"), earlier);

  ASSERT_EQ(prlimit(session.Program().Pid(), RLIMIT_FSIZE, &before, nullptr), 0);
  SaveAndConfirm(grade, folder / "report.html", true);
  EXPECT_TRUE(SameBytes(ReadFile(folder / "report.html"),
                        ExpectedReport(student.courses, sample::GradePage(&student))));
  CloseWithEscape(grade);
}

}  // namespace
}  // namespace e2e
