// The program's routines over an in-memory shell and a scripted server: the login road, the grade
// window's load, the report, saving and the end of the program.
#include "app/program.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <vector>

#include "tests/support/fake_shell.h"
#include "tests/support/grade_fixtures.h"

namespace app {
namespace {

using support::FakeShell;
using text::Text;
using ui::Window;

const Text kGradePath = "gradeLnAllAction.do?type=ln&oper=sxinfo&lnsxdm=001";
const Text kTitle = "澄溪学院成绩计算器";

// Answers the program's page requests: the login by its path prefix, other pages by path.
struct ScriptedServer {
  Text loginAnswer = "<html>欢迎</html>";
  std::map<Text, Text> pages;
  std::vector<Text> requests;
  std::function<void()> duringRequest;  // runs inside the wait, like the event pump

  Text operator()(const Text& path) {
    requests.push_back(path);
    if (duringRequest) {
      auto hook = std::move(duringRequest);
      duringRequest = nullptr;
      hook();
    }
    if (path.rfind("loginAction.do?", 0) == 0) return loginAnswer;
    const auto found = pages.find(path);
    return found == pages.end() ? Text() : found->second;
  }
  int Count(const Text& path) const {
    return static_cast<int>(std::count(requests.begin(), requests.end(), path));
  }
};

class ProgramTest : public ::testing::Test {
 protected:
  ProgramTest() : program(shell, [this](const Text& path) { return server(path); }) {
    shell.SetEventHandler(&program);
    shell.SetExitRoutine([this] { program.ReleaseProgramTexts(); });
    shell.SetText(Window::Login, "", kTitle);
    shell.SetText(Window::Grade, "", kTitle);
    shell.LoadWindow(Window::Login);
    server.pages[kGradePath] =
        support::GradePage(std::vector<support::FixtureCourse>{{"高等数学", "3", "必修", "90"},
                                                               {"大学英语", "2", "必修", "70"},
                                                               {"音乐欣赏", "1", "选修", "85"}});
  }

  void LogIn(const Text& number = "2014000001", const Text& password = "secret") {
    shell.SetText(Window::Login, "编辑框1", number);
    shell.SetText(Window::Login, "编辑框2", password);
    shell.Click(Window::Login, "按钮1");
  }

  Text Label(const char* name) const { return shell.GetText(Window::Grade, name); }

  FakeShell shell;
  ScriptedServer server;
  Program program;
};

TEST_F(ProgramTest, FormCheckCountsGbkBytesAndSendsNothingWhenBadlyFormed) {
  struct Case {
    Text number, password;
    bool wellFormed;
  } cases[] = {
      {"2014000001", "123456", true},    {"2014000001234", "123456", true},
      {"201400001", "123456", false},    {"20140000011", "123456", false},
      {"201400000112", "123456", false}, {"20140000011234", "123456", false},
      {"2014000001", "12345", false},    {"", "", false},
      {"2014000001", "密码好", true},    {"五个汉字啊", "123456", true},
      {"2014000001 ", "123456", false},  // typed as it stands: no trimming
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.number + " / " + c.password);
    FakeShell fresh;
    ScriptedServer quiet;
    quiet.loginAnswer = "您的密码不正确，请您重新输入！";
    Program p(fresh, [&quiet](const Text& path) { return quiet(path); });
    fresh.SetEventHandler(&p);
    fresh.LoadWindow(Window::Login);
    fresh.SetText(Window::Login, "编辑框1", c.number);
    fresh.SetText(Window::Login, "编辑框2", c.password);
    p.TryLogin();
    EXPECT_EQ(quiet.requests.size(), c.wellFormed ? 1u : 0u);
    ASSERT_EQ(fresh.Messages().size(), 1u);
    if (c.wellFormed) {
      EXPECT_EQ(fresh.Messages()[0].text, "您的密码不正确，请您重新输入！");
    } else {
      EXPECT_EQ(fresh.Messages()[0].text, "您的用户名/密码格式有误，请检查后重试。");
      EXPECT_EQ(fresh.Messages()[0].icon, 16);
      EXPECT_EQ(fresh.Messages()[0].caption, "输入错误：");
    }
    EXPECT_TRUE(fresh.IsVisible(Window::Login));
  }
}

TEST_F(ProgramTest, FailureAnswersShowTheirPhraseAndKeepTheLoginWindow) {
  struct Case {
    Text answer, message, caption;
  } cases[] = {
      {"<p>您的密码不正确，请您重新输入！</p>", "您的密码不正确，请您重新输入！",
       "用户名/密码错误："},
      {"<p>你输入的证件号不存在，请您重新输入！</p>", "你输入的证件号不存在，请您重新输入！",
       "用户名/密码错误："},
      // Both phrases: only the wrong password is reported.
      {"你输入的证件号不存在，请您重新输入！您的密码不正确，请您重新输入！",
       "您的密码不正确，请您重新输入！", "用户名/密码错误："},
      // No answer at all is no login.
      {"", "无法连接教务处系统，请检查网络后重试。", "网络错误："},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    FakeShell fresh;
    ScriptedServer failing;
    failing.loginAnswer = c.answer;
    Program p(fresh, [&failing](const Text& path) { return failing(path); });
    fresh.SetEventHandler(&p);
    fresh.LoadWindow(Window::Login);
    fresh.SetText(Window::Login, "编辑框1", "2014000001");
    fresh.SetText(Window::Login, "编辑框2", "secret");
    fresh.Click(Window::Login, "按钮1");
    ASSERT_EQ(fresh.Messages().size(), 1u);
    EXPECT_EQ(fresh.Messages()[0].text, c.message);
    EXPECT_EQ(fresh.Messages()[0].icon, 16);
    EXPECT_EQ(fresh.Messages()[0].caption, c.caption);
    EXPECT_TRUE(fresh.IsVisible(Window::Login));
    EXPECT_FALSE(fresh.IsLoaded(Window::Grade));
    EXPECT_EQ(fresh.GetText(Window::Login, "编辑框2"), "secret");
  }
}

TEST_F(ProgramTest, LoginPathCarriesTheValuesPercentEncoded) {
  LogIn("2014000001", "a&b c#+%密");
  ASSERT_FALSE(server.requests.empty());
  EXPECT_EQ(server.requests[0], "loginAction.do?zjh=2014000001&mm=a%26b%20c%23%2B%25%C3%DC");
}

TEST_F(ProgramTest, EnterInEitherBoxLogsInWhateverTheModifiersAndOtherKeysDoNothing) {
  shell.SetText(Window::Login, "编辑框1", "2014000001");
  shell.SetText(Window::Login, "编辑框2", "secret");
  shell.PressKey(Window::Login, "编辑框1", 65);
  shell.PressKey(Window::Login, "编辑框2", 9);
  EXPECT_TRUE(server.requests.empty());
  shell.PressKey(Window::Login, "编辑框2", 13, /*shift*/ 1);
  EXPECT_EQ(server.requests.size(), 2u);  // the login and the grade page
  EXPECT_TRUE(shell.IsLoaded(Window::Grade));
}

TEST_F(ProgramTest, SuccessfulLoginOpensTheGradeWindowWithEveryCourseTicked) {
  LogIn();
  EXPECT_FALSE(shell.IsVisible(Window::Login));
  EXPECT_TRUE(shell.IsLoaded(Window::Login));  // hidden, not destroyed
  EXPECT_TRUE(shell.IsVisible(Window::Grade));
  EXPECT_TRUE(shell.Messages().empty());
  ASSERT_EQ(shell.ListRowCount(), 3);
  for (int row = 0; row < 3; ++row) EXPECT_TRUE(shell.ListTicked(row));
  EXPECT_TRUE(shell.IsSelectAllTicked());
  EXPECT_EQ(Label("标签1"), "您的必修加权平均分：82");
  EXPECT_EQ(Label("标签4"), "您的必修加权学分绩点：3.16");
  EXPECT_EQ(Label("标签2"), "您的全科加权平均分：82.5");
  EXPECT_EQ(Label("标签5"), "您的全科加权学分绩点：3.233333333333");
  // With every row ticked the selected results equal the all-course ones.
  EXPECT_EQ(Label("标签3"), "选择科目加权平均分：82.5");
  EXPECT_EQ(Label("标签6"), "选择科目加权学分绩点：3.233333333333");
}

TEST_F(ProgramTest, ReportIsTheSummaryParagraphFollowedByTheGradePageByteForByte) {
  LogIn();
  EXPECT_EQ(program.ReportText(),
            "<P><B>您的必修加权平均分：82 您的必修加权学分绩点：3.16 "
            "您的全科加权平均分：82.5 您的全科加权学分绩点：3.233333333333</B></P>" +
                server.pages[kGradePath]);
}

TEST_F(ProgramTest, EmptyGradePageStillOpensTheWindowThenSaysSo) {
  server.pages.clear();
  LogIn();
  EXPECT_TRUE(shell.IsVisible(Window::Grade));
  EXPECT_EQ(shell.ListRowCount(), 0);
  EXPECT_TRUE(shell.IsSelectAllTicked());
  EXPECT_EQ(Label("标签1"), "");
  EXPECT_EQ(program.ReportText(), "<P><B>   </B></P>");
  ASSERT_EQ(shell.Messages().size(), 1u);
  EXPECT_EQ(shell.Messages()[0].text, "未能获取成绩列表，请稍后重试。");
  EXPECT_EQ(shell.Messages()[0].icon, 16);
  EXPECT_EQ(shell.Messages()[0].caption, "网络错误：");
}

TEST_F(ProgramTest, PageWithoutCoursesGivesTheBlankParagraphAndNoMessage) {
  server.pages[kGradePath] = support::GradePage(std::vector<support::FixtureCourse>{});
  LogIn();
  EXPECT_EQ(program.ReportText(), "<P><B>   </B></P>" + server.pages[kGradePath]);
  EXPECT_TRUE(shell.Messages().empty());
}

TEST_F(ProgramTest, SecondLoginDuringTheWaitOpensOneGradeWindowAndFetchesTheGradesOnce) {
  shell.SetText(Window::Login, "编辑框1", "2014000001");
  shell.SetText(Window::Login, "编辑框2", "secret");
  server.duringRequest = [this] { shell.Click(Window::Login, "按钮1"); };
  shell.Click(Window::Login, "按钮1");
  EXPECT_EQ(shell.LoadCount(Window::Grade), 1);
  EXPECT_EQ(server.Count(kGradePath), 1);
  EXPECT_EQ(shell.ListRowCount(), 3);
  EXPECT_FALSE(shell.IsVisible(Window::Login));
}

TEST_F(ProgramTest, ClosingTheLoginWindowDuringTheWaitOpensNoGradeWindow) {
  shell.SetText(Window::Login, "编辑框1", "2014000001");
  shell.SetText(Window::Login, "编辑框2", "secret");
  server.duringRequest = [this] { shell.SetVisible(Window::Login, false); };
  shell.Click(Window::Login, "按钮1");
  EXPECT_FALSE(shell.IsLoaded(Window::Grade));
  EXPECT_EQ(server.Count(kGradePath), 0);
}

TEST_F(ProgramTest, SelectAllTicksAndUnticksEveryRowWithoutRecomputing) {
  LogIn();
  const Text before3 = Label("标签3"), before6 = Label("标签6");
  shell.ClickSelectAll();
  for (int row = 0; row < 3; ++row) EXPECT_FALSE(shell.ListTicked(row));
  EXPECT_EQ(Label("标签3"), before3);
  EXPECT_EQ(Label("标签6"), before6);
  // A user's toggle of one row recomputes over the ticked rows only.
  shell.ToggleRow(0);
  EXPECT_EQ(Label("标签3"), "选择科目加权平均分：90");
  EXPECT_EQ(Label("标签6"), "选择科目加权学分绩点：3.8");
  shell.ClickSelectAll();
  for (int row = 0; row < 3; ++row) EXPECT_TRUE(shell.ListTicked(row));
  EXPECT_EQ(Label("标签3"), "选择科目加权平均分：90");
}

TEST_F(ProgramTest, EvaluationIsShownWithTheInformationIconAndTheWindowTitle) {
  LogIn();
  shell.Click(Window::Grade, "按钮1");
  shell.Click(Window::Grade, "按钮1");
  ASSERT_EQ(shell.Messages().size(), 2u);
  EXPECT_EQ(shell.Messages()[0].text,
            "你的成绩评价为：良(B)"
            "。\r\n你是个开拓进取的孩子，已经深谙学习之道，相信你会在这条路上越走越远。"
            "记住，天使与你同在，放手拼搏吧。");
  EXPECT_EQ(shell.Messages()[0].icon, 64);
  EXPECT_EQ(shell.Messages()[0].caption, kTitle);
}

class SaveReportTest : public ProgramTest {
 protected:
  void SetUp() override {
    folder = std::filesystem::temp_directory_path() /
             ("cx-save-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    LogIn();
  }
  void TearDown() override { std::filesystem::remove_all(folder); }

  static std::string Read(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  std::filesystem::path folder;
};

TEST_F(SaveReportTest, WritesTheReportBytesAndConfirms) {
  const auto target = folder / "report.html";
  shell.QueueSaveAnswer(target);
  shell.Click(Window::Grade, "按钮2");
  EXPECT_EQ(Read(target), program.ReportText());
  ASSERT_EQ(shell.Messages().size(), 1u);
  EXPECT_EQ(shell.Messages()[0].text, "成绩查询结果已保存，请保存好您在澄溪成长的每一步哦亲！~");
  EXPECT_EQ(shell.Messages()[0].icon, 64);
  EXPECT_EQ(shell.Messages()[0].caption, kTitle);
  ASSERT_EQ(shell.ProposedFileNames().size(), 1u);
  EXPECT_NE(shell.ProposedFileNames()[0].find("澄溪成绩查询结果"), std::string::npos);
}

TEST_F(SaveReportTest, CancelWritesNothingAndSaysNothing) {
  shell.QueueSaveAnswer(std::nullopt);
  shell.Click(Window::Grade, "按钮2");
  EXPECT_TRUE(shell.Messages().empty());
  EXPECT_TRUE(std::filesystem::is_empty(folder));
}

TEST_F(SaveReportTest, FailedSaveReportsItAndKeepsTheOldFile) {
  const auto target = folder / "report.html";
  { std::ofstream(target, std::ios::binary) << "old"; }
  std::filesystem::create_directory(folder / "gone");
  shell.QueueSaveAnswer(folder / "gone" / "missing" / "report.html");
  shell.Click(Window::Grade, "按钮2");
  ASSERT_EQ(shell.Messages().size(), 1u);
  EXPECT_EQ(shell.Messages()[0].text.rfind("保存失败：", 0), 0u);
  EXPECT_EQ(shell.Messages()[0].icon, 16);
  EXPECT_EQ(shell.Messages()[0].caption, kTitle);
  EXPECT_EQ(Read(target), "old");
  // The button works again.
  shell.QueueSaveAnswer(target);
  shell.Click(Window::Grade, "按钮2");
  EXPECT_EQ(Read(target), program.ReportText());
}

TEST_F(ProgramTest, ClosingTheGradeWindowEndsWithCodeZeroAndReleasesTheTextsOnce) {
  server.pages[kGradePath] =
      support::GradePage(std::vector<support::FixtureCourse>{{"体育", "1", "必修", "优秀"}});
  server.pages["gradeLnAllAction.do?type=ln&oper=lnjhqk"] =
      support::PlanEntryPage({"planPage.jsp"});
  server.pages["planPage.jsp"] = support::PlanPage({{"体育", "1", ""}});
  LogIn();
  ASSERT_FALSE(program.PlanPageText().empty());
  try {
    shell.Close(Window::Grade);
    FAIL() << "the program did not end";
  } catch (const support::ProgramEnded& ended) {
    EXPECT_EQ(ended.exitCode, 0);
  }
  EXPECT_EQ(shell.ExitRoutineRuns(), 1);
  EXPECT_TRUE(program.ReportText().empty());
  EXPECT_TRUE(program.PlanPageText().empty());
}

}  // namespace
}  // namespace app
