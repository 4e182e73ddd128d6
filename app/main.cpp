// 澄溪学院成绩计算器: the Qt windows, talking to the server the program was built for.
#include "app/program.h"
#include "ui/qt/qt_shell.h"

int main() {
  ui::QtShell shell;
  return app::StartProgram(shell, CX_SERVER_BASE);
}
