#include "tests/e2e/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

extern char** environ;

namespace e2e {

namespace {

using Clock = std::chrono::steady_clock;

// The caller's environment with the given entries set over it.
std::vector<std::string> MergedEnvironment(const std::vector<std::string>& overrides) {
  std::vector<std::string> merged;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string current = *entry;
    const std::string name = current.substr(0, current.find('=') + 1);
    bool overridden = false;
    for (const std::string& o : overrides) overridden = overridden || o.starts_with(name);
    if (!overridden) merged.push_back(current);
  }
  merged.insert(merged.end(), overrides.begin(), overrides.end());
  return merged;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& s : strings) pointers.push_back(s.data());
  pointers.push_back(nullptr);
  return pointers;
}

int ExitCodeOf(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return -WTERMSIG(status);
  return -1;
}

// Between fork and exec only async-signal-safe calls are made.
[[noreturn]] void ExecChild(char** argv, char** envp, int outputFd, int keepOpenFd,
                            bool ignoreFileSizeSignal) {
  // A test that dies (crash, ctest time-out) takes its children with it: a server left behind
  // would hold the port of every later run.
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  const int devNull = open("/dev/null", O_RDONLY);
  if (devNull != -1) dup2(devNull, STDIN_FILENO);
  if (outputFd != -1) {
    dup2(outputFd, STDOUT_FILENO);
    dup2(outputFd, STDERR_FILENO);
  }
  if (keepOpenFd != -1) fcntl(keepOpenFd, F_SETFD, 0);
  if (ignoreFileSizeSignal) signal(SIGXFSZ, SIG_IGN);
  execve(argv[0], argv, envp);
  _exit(127);
}

}  // namespace

ChildProcess::ChildProcess(const ChildOptions& options) {
  if (options.argv.empty()) throw HarnessError("no program to start");
  std::vector<std::string> arguments = options.argv;
  std::vector<std::string> environment = MergedEnvironment(options.environment);
  std::vector<char*> argv = Pointers(arguments);
  std::vector<char*> envp = Pointers(environment);
  const std::string output = options.output.empty() ? "/dev/null" : options.output.string();
  const int outputFd = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (outputFd == -1) throw HarnessError("cannot open " + output + ": " + std::strerror(errno));

  started_ = Clock::now();
  pid_ = fork();
  if (pid_ == 0) {
    ExecChild(argv.data(), envp.data(), outputFd, options.keepOpenFd, options.ignoreFileSizeSignal);
  }
  close(outputFd);
  if (pid_ < 0) throw HarnessError("cannot start " + options.argv[0]);
}

ChildProcess::~ChildProcess() {
  Stop();
}

void ChildProcess::Reap(int status) {
  exitCode_ = ExitCodeOf(status);
  pid_ = -1;
}

bool ChildProcess::Running() {
  if (pid_ <= 0) return false;
  int status = 0;
  if (waitpid(pid_, &status, WNOHANG) == pid_) Reap(status);
  return pid_ > 0;
}

std::optional<int> ChildProcess::WaitForExit(std::chrono::milliseconds limit) {
  const auto deadline = Clock::now() + limit;
  while (Running() && Clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (Running()) return std::nullopt;
  return exitCode_;
}

void ChildProcess::Stop() {
  if (!Running()) return;
  kill(pid_, SIGTERM);
  if (WaitForExit(std::chrono::seconds(2))) return;
  kill(pid_, SIGKILL);
  int status = 0;
  if (waitpid(pid_, &status, 0) == pid_) Reap(status);
}

CommandResult RunCommand(const std::vector<std::string>& command,
                         const std::vector<std::string>& environment,
                         std::chrono::milliseconds limit) {
  CommandResult result;
  int pipeEnds[2];
  if (command.empty() || pipe2(pipeEnds, O_CLOEXEC) != 0) return result;
  std::vector<std::string> arguments = command;
  std::vector<std::string> merged = MergedEnvironment(environment);
  std::vector<char*> argv = Pointers(arguments);
  std::vector<char*> envp = Pointers(merged);

  const pid_t pid = fork();
  if (pid == 0) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    const int devNull = open("/dev/null", O_WRONLY);
    dup2(pipeEnds[1], STDOUT_FILENO);
    if (devNull != -1) dup2(devNull, STDERR_FILENO);
    const int in = open("/dev/null", O_RDONLY);
    if (in != -1) dup2(in, STDIN_FILENO);
    execve(argv[0], argv.data(), envp.data());
    _exit(127);
  }
  close(pipeEnds[1]);
  if (pid < 0) {
    close(pipeEnds[0]);
    return result;
  }

  const auto deadline = Clock::now() + limit;
  bool timedOut = false;
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) {
      timedOut = true;
      break;
    }
    pollfd readable{pipeEnds[0], POLLIN, 0};
    const int ready = poll(&readable, 1, static_cast<int>(left));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) continue;
    char buffer[4096];
    const ssize_t n = read(pipeEnds[0], buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    result.output.append(buffer, static_cast<size_t>(n));
  }
  close(pipeEnds[0]);
  if (timedOut) kill(pid, SIGKILL);
  int status = 0;
  waitpid(pid, &status, 0);
  result.exitCode = timedOut ? -1 : ExitCodeOf(status);
  return result;
}

}  // namespace e2e
