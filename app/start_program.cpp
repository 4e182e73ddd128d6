// Start-up: from the process start to the login window and the event loop.
#include <filesystem>
#include <system_error>

#include "app/program.h"
#include "web/fetch.h"

namespace app {

namespace {

// Every page fetch shows the wait cursor while it runs.
grades::PageFetcher ServerFetcher(ui::Shell& shell, const text::Text& serverBase) {
  return [&shell, serverBase](const text::Text& relativePath) {
    shell.SetBusy(true);
    text::Text page = web::FetchPage(serverBase, relativePath);
    shell.SetBusy(false);
    return page;
  };
}

void EnterExecutableFolder() {
  std::error_code error;
  const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) std::filesystem::current_path(executable.parent_path(), error);
}

}  // namespace

int StartProgram(ui::Shell& shell, const text::Text& serverBase) {
  EnterExecutableFolder();
  web::SetEventPump([&shell] { shell.PumpEvents(); });

  Program program(shell, ServerFetcher(shell, serverBase));
  shell.SetEventHandler(&program);
  shell.SetExitRoutine([&program] { program.ReleaseProgramTexts(); });

  shell.LoadWindow(ui::Window::Login);
  shell.Run();
  return 0;
}

}  // namespace app
