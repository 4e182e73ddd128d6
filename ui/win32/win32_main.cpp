// 澄溪学院成绩计算器 on Windows: the Win32 windows, talking to the server the program was built
// for.
#include <windows.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "app/program.h"
#include "ui/win32/win32_shell.h"

namespace {

// The program works in the folder that holds its executable.
void EnterExecutableFolder() {
  std::wstring path(32768, L'\0');
  const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  if (length == 0 || length >= path.size()) return;
  path.resize(length);
  std::error_code error;
  std::filesystem::current_path(std::filesystem::path(path).parent_path(), error);
}

}  // namespace

int main() {
  EnterExecutableFolder();
  ui::Win32Shell shell;
  return app::StartProgram(shell, CX_SERVER_BASE);
}
