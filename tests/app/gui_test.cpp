// The program in its real Qt windows, driven like a student would, against a server on loopback.
#include <gtest/gtest.h>
#include <httplib.h>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "app/program.h"
#include "tests/support/grade_fixtures.h"
#include "ui/qt/qt_shell.h"
#include "web/event_pump.h"
#include "web/fetch.h"

namespace app {
namespace {

using text::Text;
using ui::Window;

const Text kSession = "JSESSIONID=gui-test";

// The academic-affairs server as the program meets it: the login answer sets the session cookie,
// and the grade page answers only to it.
class LoopbackServer {
 public:
  LoopbackServer() {
    server_.Get("/loginAction.do", [this](const httplib::Request& request, httplib::Response& res) {
      const bool known = request.get_param_value("zjh") == "2014000001";
      const bool right = request.get_param_value("mm") == "secret";
      if (!known) {
        res.set_content("你输入的证件号不存在，请您重新输入！", "text/html");
      } else if (!right) {
        res.set_content("您的密码不正确，请您重新输入！", "text/html");
      } else {
        res.set_header("Set-Cookie", kSession + "; Path=/");
        res.set_content("<html>学生：张三</html>", "text/html");
      }
    });
    server_.Get("/gradeLnAllAction.do", [this](const httplib::Request& request,
                                               httplib::Response& res) {
      const bool loggedIn = request.get_header_value("Cookie").find(kSession) != std::string::npos;
      res.set_content(loggedIn ? gradePage : Text("<html>请登录</html>"), "text/html");
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server_.is_running()) std::this_thread::yield();
  }
  ~LoopbackServer() {
    server_.stop();
    thread_.join();
  }
  Text Base() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }

  Text gradePage =
      support::GradePage(std::vector<support::FixtureCourse>{{"高等数学", "3", "必修", "90"},
                                                             {"大学英语", "2", "必修", "70"},
                                                             {"音乐欣赏", "1", "选修", "85"}});

 private:
  httplib::Server server_;
  int port_ = 0;
  std::thread thread_;
};

class GuiTest : public ::testing::Test {
 protected:
  GuiTest()
      : program(shell, [this](const Text& path) { return web::FetchPage(server.Base(), path); }) {
    shell.SetUnattended(true);
    shell.ThrowInsteadOfEnding(true);
    shell.SetEventHandler(&program);
    shell.SetExitRoutine([this] {
      ++exitRoutineRuns;
      program.ReleaseProgramTexts();
    });
    web::SetEventPump([this] { shell.PumpEvents(); });
    shell.LoadWindow(Window::Login);
  }
  ~GuiTest() override { web::SetEventPump(nullptr); }

  template <typename Widget>
  Widget* Find(Window window, const char* name) {
    auto* widget = qobject_cast<Widget*>(shell.Control(window, name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }

  void Type(const char* box, const QString& value) {
    auto* edit = Find<QLineEdit>(Window::Login, box);
    edit->setFocus();
    QTest::keyClicks(edit, value);
  }

  void LogIn(const QString& number = "2014000001", const QString& password = "secret",
             Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    Type("编辑框1", number);
    Type("编辑框2", password);
    QTest::keyClick(Find<QLineEdit>(Window::Login, "编辑框2"), Qt::Key_Return, modifiers);
  }

  Text Label(const char* name) { return shell.GetText(Window::Grade, name); }

  LoopbackServer server;
  ui::QtShell shell;
  Program program;
  int exitRoutineRuns = 0;
};

TEST_F(GuiTest, WrongPasswordIsReportedAndTheLoginWindowStays) {
  LogIn("2014000001", "wrong1");
  ASSERT_EQ(shell.RecordedMessages().size(), 1u);
  EXPECT_EQ(shell.RecordedMessages()[0].message, "您的密码不正确，请您重新输入！");
  EXPECT_EQ(shell.RecordedMessages()[0].icon, ui::kIconError);
  EXPECT_EQ(shell.RecordedMessages()[0].caption, "用户名/密码错误：");
  EXPECT_TRUE(shell.IsVisible(Window::Login));
  EXPECT_FALSE(shell.IsLoaded(Window::Grade));
}

TEST_F(GuiTest, UnknownNumberByButtonClick) {
  Type("编辑框1", "2099000001");
  Type("编辑框2", "secret");
  QTest::mouseClick(Find<QPushButton>(Window::Login, "按钮1"), Qt::LeftButton);
  ASSERT_EQ(shell.RecordedMessages().size(), 1u);
  EXPECT_EQ(shell.RecordedMessages()[0].message, "你输入的证件号不存在，请您重新输入！");
}

TEST_F(GuiTest, NoServerIsANetworkErrorNotALogin) {
  Program offline(shell, [](const Text& path) {
    return web::FetchPage("http://127.0.0.1:1/", path);  // nothing listens on port 1
  });
  shell.SetEventHandler(&offline);
  LogIn();
  ASSERT_EQ(shell.RecordedMessages().size(), 1u);
  EXPECT_EQ(shell.RecordedMessages()[0].message, "无法连接教务处系统，请检查网络后重试。");
  EXPECT_EQ(shell.RecordedMessages()[0].caption, "网络错误：");
  EXPECT_TRUE(shell.IsVisible(Window::Login));
}

TEST_F(GuiTest, ShiftEnterLogsInAndTheGradeWindowShowsEveryCourseTicked) {
  LogIn("2014000001", "secret", Qt::ShiftModifier);
  EXPECT_TRUE(shell.RecordedMessages().empty());
  EXPECT_FALSE(shell.IsVisible(Window::Login));
  ASSERT_TRUE(shell.IsVisible(Window::Grade));
  auto* list = Find<QTreeWidget>(Window::Grade, "超级列表框1");
  ASSERT_EQ(list->topLevelItemCount(), 3);
  for (int row = 0; row < 3; ++row) {
    EXPECT_EQ(list->topLevelItem(row)->checkState(0), Qt::Checked);
  }
  EXPECT_EQ(list->topLevelItem(0)->text(0), QString::fromUtf16(u"高等数学"));
  EXPECT_TRUE(Find<QCheckBox>(Window::Grade, "选择框1")->isChecked());
  EXPECT_EQ(Label("标签2"), "您的全科加权平均分：82.5");
  EXPECT_EQ(Label("标签3"), "选择科目加权平均分：82.5");
  EXPECT_EQ(Label("标签5"), "您的全科加权学分绩点：3.233333333333");
  EXPECT_EQ(Label("标签6"), "选择科目加权学分绩点：3.233333333333");
}

TEST_F(GuiTest, UserToggleRecomputesTheSelectionWhileSelectAllDoesNot) {
  LogIn();
  auto* list = Find<QTreeWidget>(Window::Grade, "超级列表框1");
  auto* selectAll = Find<QCheckBox>(Window::Grade, "选择框1");
  QTest::mouseClick(selectAll, Qt::LeftButton);
  EXPECT_FALSE(selectAll->isChecked());
  EXPECT_EQ(list->topLevelItem(1)->checkState(0), Qt::Unchecked);
  EXPECT_EQ(Label("标签3"), "选择科目加权平均分：82.5");  // unchanged

  list->setFocus();
  list->setCurrentItem(list->topLevelItem(0));
  QTest::keyClick(list, Qt::Key_Space);
  EXPECT_EQ(list->topLevelItem(0)->checkState(0), Qt::Checked);
  EXPECT_EQ(Label("标签3"), "选择科目加权平均分：90");
  EXPECT_EQ(Label("标签6"), "选择科目加权学分绩点：3.8");
}

TEST_F(GuiTest, EvaluationAndSaveAndEscEndTheProgramOnce) {
  LogIn();
  QTest::mouseClick(Find<QPushButton>(Window::Grade, "按钮1"), Qt::LeftButton);
  ASSERT_EQ(shell.RecordedMessages().size(), 1u);
  EXPECT_EQ(shell.RecordedMessages()[0].icon, ui::kIconInformation);
  EXPECT_EQ(shell.RecordedMessages()[0].caption, "澄溪学院成绩计算器");
  EXPECT_EQ(shell.RecordedMessages()[0].message.rfind("你的成绩评价为：良(B)。\r\n", 0), 0u);

  const auto folder = std::filesystem::temp_directory_path() / "cx-gui-save";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  const auto target = folder / "report.html";
  shell.PresetSaveFileName(target);
  QTest::mouseClick(Find<QPushButton>(Window::Grade, "按钮2"), Qt::LeftButton);
  ASSERT_EQ(shell.RecordedMessages().size(), 2u);
  EXPECT_EQ(shell.RecordedMessages()[1].message,
            "成绩查询结果已保存，请保存好您在澄溪成长的每一步哦亲！~");
  std::ifstream in(target, std::ios::binary);
  const std::string saved{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  EXPECT_EQ(saved,
            "<P><B>您的必修加权平均分：82 您的必修加权学分绩点：3.16 "
            "您的全科加权平均分：82.5 您的全科加权学分绩点：3.233333333333</B></P>" +
                server.gradePage);
  std::filesystem::remove_all(folder);

  QTest::keyClick(shell.WindowWidget(Window::Grade), Qt::Key_Escape);
  EXPECT_EQ(shell.EndedWithCode(), 0);
  EXPECT_EQ(exitRoutineRuns, 1);
  EXPECT_TRUE(program.ReportText().empty());
}

}  // namespace
}  // namespace app

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
