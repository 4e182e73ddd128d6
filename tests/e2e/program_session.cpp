#include "tests/e2e/program_session.h"

#include <fstream>
#include <iterator>
#include <thread>

#include "tests/e2e/utf8_from_gbk.h"

namespace e2e {

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Control centres in window coordinates: the form's group box offset plus the control's place
// and half its size.
constexpr int kNumberBoxX = 8 + 64 + 112, kNumberBoxY = 8 + 32 + 16;
constexpr int kPasswordBoxX = 8 + 64 + 112, kPasswordBoxY = 8 + 72 + 16;
constexpr int kLoginButtonX = 8 + 224 + 32, kLoginButtonY = 8 + 120 + 16;
constexpr int kEvaluationButtonX = 8 + 192 + 36, kEvaluationButtonY = 202 + 12;
constexpr int kSaveButtonX = 8 + 296 + 36, kSaveButtonY = 202 + 12;
constexpr int kSelectAllX = 8 + 8 + 44, kSelectAllY = 208 + 8;
// The course name of the list's first row: below the list's frame and header line.
constexpr int kFirstRowX = 16 + 100, kFirstRowY = 42;

std::string ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Title() {
  return Utf8FromGbk("澄溪学院成绩计算器");
}

}  // namespace

ProgramSession::ProgramSession(const SessionPaths& paths, const SessionOptions& options,
                               const fs::path& workFolder)
    : paths_(paths),
      options_(options),
      work_(workFolder),
      x_(display_.Name(), paths.clipboardReader) {
  fs::remove_all(work_);
  fs::create_directories(work_ / "runtime");
  fs::permissions(work_ / "runtime", fs::perms::owner_all);
  if (!options.startServer) return;

  std::vector<std::string> argv{paths.sampleServer.string(),
                                "--port",
                                std::to_string(paths.port),
                                "--fault",
                                options.fault,
                                "--log-requests"};
  if (options.generatedCourses > 0) {
    argv.insert(argv.end(), {"--generated-student", std::to_string(options.generatedCourses)});
  }
  server_ = std::make_unique<ChildProcess>(ChildOptions{argv, {}, work_ / "server.log"});
  const auto deadline = Clock::now() + std::chrono::seconds(10);
  while (ReadFile(work_ / "server.log").find("serving") == std::string::npos) {
    if (!server_->Running() || Clock::now() >= deadline) {
      throw HarnessError("the sample server did not start on port " + std::to_string(paths.port) +
                         " (another run holding it?): " + ReadFile(work_ / "server.log"));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

void ProgramSession::StartProgram() {
  program_.reset();
  login_.reset();
  grade_.reset();
  program_ = std::make_unique<ChildProcess>(
      ChildOptions{{paths_.program.string()},
                   {"DISPLAY=" + display_.Name(), "QT_QPA_PLATFORM=xcb",
                    "XDG_RUNTIME_DIR=" + (work_ / "runtime").string(),
                    // Qt's file dialog keeps its history there; each run starts without one.
                    "XDG_CONFIG_HOME=" + (work_ / "config").string()},
                   work_ / "program.log",
                   -1,
                   options_.ignoreFileSizeSignal});
}

std::vector<std::string> ProgramSession::ServerRequests() const {
  std::vector<std::string> requests;
  const std::string log = ReadFile(work_ / "server.log");
  const std::string prefix = "request ";
  for (size_t at = log.find(prefix); at != std::string::npos; at = log.find(prefix, at + 1)) {
    const size_t end = log.find('\n', at);
    if (end == std::string::npos) break;
    requests.push_back(log.substr(at + prefix.size(), end - at - prefix.size()));
  }
  return requests;
}

void ProgramSession::WaitForServerRequests(int count) {
  const auto deadline = Clock::now() + std::chrono::seconds(10);
  while (ServerRequests().size() < static_cast<size_t>(count)) {
    if (Clock::now() >= deadline) {
      throw HarnessError("the server did not get " + std::to_string(count) + " requests");
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

void ProgramSession::StopServer() {
  if (server_) server_->Stop();
}

bool ProgramSession::IsProgramWindow(const WindowInfo& window) const {
  return (login_ && window.id == login_->id) || (grade_ && window.id == grade_->id);
}

WindowInfo ProgramSession::WaitForLoginWindow() {
  const std::string title = Title();
  login_ = x_.WaitForWindow(
      program_->Pid(),
      [&](const WindowInfo& w) {
        return w.name == title && w.width == kLoginWidth && w.height == kLoginHeight;
      },
      "login window");
  return *login_;
}

WindowInfo ProgramSession::WaitForGradeWindow(std::chrono::milliseconds limit) {
  const std::string title = Title();
  grade_ = x_.WaitForWindow(
      program_->Pid(),
      [&](const WindowInfo& w) {
        return w.name == title && w.width == kGradeWidth && w.height == kGradeHeight;
      },
      "grade window", limit);
  return *grade_;
}

WindowInfo ProgramSession::WaitForBox(const std::string& gbkCaption) {
  const std::string caption = Utf8FromGbk(gbkCaption);
  return x_.WaitForWindow(
      program_->Pid(),
      [&](const WindowInfo& w) { return w.name == caption && !IsProgramWindow(w); },
      "box \"" + caption + "\"");
}

void ProgramSession::ConfirmBox(const WindowInfo& box) {
  x_.Focus(box);
  x_.Key("Return");
  x_.WaitUntilGone(program_->Pid(), box.id, "box \"" + box.name + "\"");
}

void ProgramSession::TypeLogin(const WindowInfo& login, const std::string& number,
                               const std::string& password) {
  x_.Focus(login);
  x_.Click(login, kNumberBoxX, kNumberBoxY);
  x_.Key("ctrl+a");
  x_.Key("BackSpace");
  x_.Type(number);
  x_.Click(login, kPasswordBoxX, kPasswordBoxY);
  x_.Key("ctrl+a");
  x_.Key("BackSpace");
  x_.Type(password);
}

void ProgramSession::ClickLoginButton(const WindowInfo& login) {
  x_.Click(login, kLoginButtonX, kLoginButtonY);
}

void ProgramSession::ClickNumberBox(const WindowInfo& login) {
  x_.Click(login, kNumberBoxX, kNumberBoxY);
}

void ProgramSession::ClickFirstRow(const WindowInfo& grade) {
  x_.Focus(grade);
  x_.Click(grade, kFirstRowX, kFirstRowY);
}

void ProgramSession::ClickSelectAll(const WindowInfo& grade) {
  x_.Focus(grade);
  x_.Click(grade, kSelectAllX, kSelectAllY);
}

void ProgramSession::ClickEvaluation(const WindowInfo& grade) {
  x_.Focus(grade);
  x_.Click(grade, kEvaluationButtonX, kEvaluationButtonY);
}

ProgramSession::SaveResult ProgramSession::SaveReport(const WindowInfo& grade, const fs::path& path,
                                                      bool replaces) {
  const std::string title = Title();
  x_.Focus(grade);
  x_.Click(grade, kSaveButtonX, kSaveButtonY);
  // The save dialog: the one new window not named like the program (its title is Qt's own).
  const WindowInfo dialog = x_.WaitForWindow(
      program_->Pid(), [&](const WindowInfo& w) { return !IsProgramWindow(w) && w.name != title; },
      "save dialog");
  x_.Focus(dialog);

  // The name field has the focus, its proposed name selected.
  SaveResult result;
  x_.Key("ctrl+a");
  x_.Key("ctrl+c");
  const auto deadline = Clock::now() + std::chrono::seconds(10);
  while ((result.proposedName = x_.Clipboard()).empty() && Clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }

  x_.Key("ctrl+a");
  x_.Type(path.string());
  x_.Key("Return");
  if (replaces) {
    const WindowInfo question = x_.WaitForWindow(
        program_->Pid(),
        [&](const WindowInfo& w) { return w.name == dialog.name && w.id != dialog.id; },
        "replace question");
    x_.Focus(question);
    x_.Key("y");
  }
  result.answer = x_.WaitForWindow(
      program_->Pid(), [&](const WindowInfo& w) { return w.name == title && !IsProgramWindow(w); },
      "answer to the save");
  return result;
}

void ProgramSession::PressEscape(const WindowInfo& window) {
  x_.Focus(window);
  x_.Key("Escape");
}

std::string ProgramSession::ProgramLog() const {
  return ReadFile(work_ / "program.log");
}

}  // namespace e2e
