// One run of the real program as a student has it: a virtual display, the sample server on the
// loopback port the e2e executable was built for, the program under that display, and the steps
// a student takes in its windows. Every child process ends with the session.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/child_process.h"
#include "tests/e2e/virtual_display.h"
#include "tests/e2e/x_driver.h"

namespace e2e {

struct SessionPaths {
  std::filesystem::path program;          // chengxi-grades-e2e
  std::filesystem::path sampleServer;     // chengxi-sample-server
  std::filesystem::path clipboardReader;  // e2e-clipboard-reader
  int port = 0;                           // the port in the program's server address
};

struct SessionOptions {
  bool startServer = true;     // false: nothing listens on the program's port
  std::string fault = "none";  // the sample server's --fault
  int generatedCourses = 0;    // the server's --generated-student, when above 0
  bool ignoreFileSizeSignal = false;
};

class ProgramSession {
 public:
  // Starts the display and the server (not the program yet). The folder receives the logs and
  // the program's own settings folder; it is emptied first.
  ProgramSession(const SessionPaths& paths, const SessionOptions& options,
                 const std::filesystem::path& workFolder);

  // Starts the program; a program started before is stopped first.
  void StartProgram();
  // Waits until the server has received that many requests in all; throws when it has not in
  // time.
  void WaitForServerRequests(int count);
  // The paths of the requests the server has received, in order.
  std::vector<std::string> ServerRequests() const;
  // Ends the server (its connections close).
  void StopServer();
  ChildProcess& Program() { return *program_; }
  const XDriver& X() const { return x_; }
  const std::string& DisplayName() const { return display_.Name(); }

  WindowInfo WaitForLoginWindow();
  WindowInfo WaitForGradeWindow(std::chrono::milliseconds limit = std::chrono::seconds(20));
  // A message box (or dialog) with this caption (GBK), other than the two windows.
  WindowInfo WaitForBox(const std::string& gbkCaption);
  // Enter on the box's OK button; waits until it is gone.
  void ConfirmBox(const WindowInfo& box);

  // Fills both boxes of the login window, each clicked into and emptied first.
  void TypeLogin(const WindowInfo& login, const std::string& number, const std::string& password);
  void ClickLoginButton(const WindowInfo& login);
  void ClickNumberBox(const WindowInfo& login);

  // Clicks the name of the list's first row (which focuses the list without ticking anything).
  void ClickFirstRow(const WindowInfo& grade);
  void ClickSelectAll(const WindowInfo& grade);
  void ClickEvaluation(const WindowInfo& grade);

  struct SaveResult {
    std::string proposedName;  // UTF-8, as the dialog's name field held it
    WindowInfo answer;         // the message box that followed
  };
  // Clicks 保存成绩, reads the proposed name, types the path (the dialog adds ".html" when it
  // has no suffix) and, when the file exists, answers yes to the replace question.
  SaveResult SaveReport(const WindowInfo& grade, const std::filesystem::path& path, bool replaces);

  // Esc in the window, as a student closes it.
  void PressEscape(const WindowInfo& window);

  // The program's log (stdout and stderr), for a failure's message.
  std::string ProgramLog() const;

 private:
  bool IsProgramWindow(const WindowInfo& window) const;

  SessionPaths paths_;
  SessionOptions options_;
  std::filesystem::path work_;
  VirtualDisplay display_;
  XDriver x_;
  std::unique_ptr<ChildProcess> server_;
  std::unique_ptr<ChildProcess> program_;
  std::optional<WindowInfo> login_;
  std::optional<WindowInfo> grade_;
};

// The client sizes of the two windows.
inline constexpr int kLoginWidth = 331, kLoginHeight = 196;
inline constexpr int kGradeWidth = 479, kGradeHeight = 328;

}  // namespace e2e
