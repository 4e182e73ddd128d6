// The in-memory shell behaves as the program expects of the real one.
#include "tests/support/fake_shell.h"

#include <gtest/gtest.h>

#include <vector>

namespace support {
namespace {

using text::Text;

struct Recorder : ui::EventHandler {
  std::vector<Text> events;
  ui::Shell* shell = nullptr;
  void Created(ui::Window) override {
    events.push_back("created");
    // The window's form already holds its captions while its created routine runs.
    events.push_back(shell->GetText(ui::Window::Grade, "按钮2"));
  }
  void WillBeDestroyed(ui::Window) override { events.push_back("destroyed"); }
  void Clicked(ui::Window, const Text& control) override { events.push_back("clicked " + control); }
  void KeyDown(ui::Window, const Text& control, int key, int) override {
    events.push_back("key " + control + " " + text::NumberToText(key));
  }
  void ListToggled(int row, int state) override {
    events.push_back("toggled " + text::NumberToText(row) + " " + text::NumberToText(state));
  }
};

TEST(FakeShell, RaisesTheEventsOfTheWindows) {
  FakeShell shell;
  Recorder recorder;
  recorder.shell = &shell;
  shell.SetEventHandler(&recorder);
  shell.LoadWindow(ui::Window::Grade);
  shell.LoadWindow(ui::Window::Grade);  // already loaded: no second window
  EXPECT_EQ(shell.LoadCount(ui::Window::Grade), 1);
  EXPECT_TRUE(shell.IsVisible(ui::Window::Grade));
  EXPECT_EQ(shell.GetText(ui::Window::Grade, ""), "澄溪学院成绩计算器");

  shell.ListAppendRow("高等数学");
  shell.ListSetTicked(0, true);  // from code: no event
  shell.ToggleRow(0);
  shell.ClickSelectAll();
  shell.PressKey(ui::Window::Login, "编辑框2", 13);
  EXPECT_EQ(recorder.events, (std::vector<Text>{"created", "保存成绩", "toggled 0 0",
                                                "clicked 选择框1", "key 编辑框2 13"}));
  EXPECT_FALSE(shell.ListTicked(0));
  EXPECT_TRUE(shell.IsSelectAllTicked());
}

TEST(FakeShell, EndProgramRunsTheExitRoutineOnce) {
  FakeShell shell;
  int runs = 0;
  shell.SetExitRoutine([&] { ++runs; });
  EXPECT_THROW(shell.EndProgram(0), ProgramEnded);
  try {
    shell.EndProgram(3);
  } catch (const ProgramEnded& ended) {
    EXPECT_EQ(ended.exitCode, 3);
  }
  EXPECT_EQ(runs, 1);
}

TEST(FakeShell, AnswersTheSaveDialogAsPreset) {
  FakeShell shell;
  shell.QueueSaveAnswer("/tmp/a.html");
  shell.QueueSaveAnswer(std::nullopt);
  EXPECT_EQ(shell.AskSaveFileName("2014111澄溪成绩查询结果"), std::filesystem::path("/tmp/a.html"));
  EXPECT_EQ(shell.AskSaveFileName("x"), std::nullopt);
  EXPECT_EQ(shell.AskSaveFileName("y"), std::nullopt) << "without an answer it is cancelled";
  EXPECT_EQ(shell.ProposedFileNames(), (std::vector<Text>{"2014111澄溪成绩查询结果", "x", "y"}));
}

}  // namespace
}  // namespace support
