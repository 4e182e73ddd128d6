// Shows both windows filled with sample texts, for a look by eye (not part of the program).
//   qt_shell_demo <folder>   saves login.png and grade.png there and ends
//   qt_shell_demo            stays open until the grade window is closed
//   qt_shell_demo --box      shows a message box over the windows first, then stays open
//   qt_shell_demo --save     shows the save dialog first, then stays open
#include <QDir>
#include <QPixmap>
#include <QTimer>
#include <string>

#include "ui/qt/qt_shell.h"

namespace {

struct Course {
  const char* name;
  const char* attribute;
  const char* credits;
  const char* score;
  const char* point;
};

const Course kCourses[] = {
    {"高等数学（上）", "必修", "5", "92", "4.2"},
    {"大学英语Ⅰ", "必修", "4", "85.5", "3.5"},
    {"形势与政策（二）", "任选", "0.5", "95", "4.5"},
    {"马克思主义基本原理概论与实践课程", "必修", "3", "78", "2.8"},
    {"体育", "限选", "1", "60", "1"},
};

}  // namespace

int main(int argc, char** argv) {
  ui::QtShell shell;
  shell.LoadWindow(ui::Window::Login);
  shell.SetText(ui::Window::Login, "编辑框1", "2012010101");
  shell.SetText(ui::Window::Login, "编辑框2", "secret123");

  shell.LoadWindow(ui::Window::Grade);
  for (const Course& c : kCourses) {
    const int row = shell.ListAppendRow(c.name);
    shell.ListSetCell(row, 1, c.attribute);
    shell.ListSetCell(row, 2, c.credits);
    shell.ListSetCell(row, 3, c.score);
    shell.ListSetCell(row, 4, c.point);
    shell.ListSetTicked(row, row != 2);
  }
  shell.SetSelectAllTicked(true);
  shell.SetText(ui::Window::Grade, "标签1", "您的必修加权平均分：83.33333333333");
  shell.SetText(ui::Window::Grade, "标签2", "您的全科加权平均分：88.88888888888");
  shell.SetText(ui::Window::Grade, "标签3", "选择科目加权平均分：100");
  shell.SetText(ui::Window::Grade, "标签4", "您的必修加权学分绩点：3.456789012345");
  shell.SetText(ui::Window::Grade, "标签5", "您的全科加权学分绩点：8.888888888888");
  shell.SetText(ui::Window::Grade, "标签6", "选择科目加权学分绩点：无");

  if (argc > 1 && std::string(argv[1]) == "--box") {
    shell.ShowMessage("您的成绩非常优秀，继续保持！\r\n第二行：加权学分绩点 3.456789012345", 64,
                      "澄溪学院成绩计算器");
  } else if (argc > 1 && std::string(argv[1]) == "--save") {
    shell.AskSaveFileName("2014111澄溪成绩查询结果");
  } else if (argc > 1) {
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    shell.PumpEvents();
    bool saved = shell.WindowWidget(ui::Window::Login)->grab().save(folder.filePath("login.png"));
    saved =
        shell.WindowWidget(ui::Window::Grade)->grab().save(folder.filePath("grade.png")) && saved;
    return saved ? 0 : 1;
  }
  shell.Run();
  return 0;
}
