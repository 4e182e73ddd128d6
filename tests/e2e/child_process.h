// Child processes of the end-to-end tests and the session benchmark: each one is stopped and
// reaped when its owner goes, whatever happened before, so no run leaves a process behind.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace e2e {

// A step of a session that did not happen (no window in time, a tool that failed); the message
// says which. The owners' destructors still stop every child.
struct HarnessError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct ChildOptions {
  std::vector<std::string> argv;         // argv[0] is the executable's path
  std::vector<std::string> environment;  // "NAME=value", set over the caller's environment
  std::filesystem::path output;          // stdout and stderr go here; empty: /dev/null
  int keepOpenFd = -1;                   // a descriptor the child inherits (Xvfb -displayfd)
  // A file size limit then fails a write with EFBIG instead of ending the process.
  bool ignoreFileSizeSignal = false;
};

class ChildProcess {
 public:
  // Starts the child; throws HarnessError when it cannot.
  explicit ChildProcess(const ChildOptions& options);
  // Stop().
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  pid_t Pid() const { return pid_; }
  // The moment just before the child was started.
  std::chrono::steady_clock::time_point Started() const { return started_; }
  bool Running();
  // The exit code once the child has ended within the limit (-N when signal N ended it);
  // nullopt while it still runs.
  std::optional<int> WaitForExit(std::chrono::milliseconds limit);
  // SIGTERM, then SIGKILL if it is still there after two seconds; reaps it.
  void Stop();

 private:
  void Reap(int status);

  pid_t pid_ = -1;
  std::optional<int> exitCode_;
  std::chrono::steady_clock::time_point started_;
};

struct CommandResult {
  int exitCode = -1;   // -1 also when the command ran past its limit and was killed
  std::string output;  // what it wrote to stdout
};

// Runs a short command to its end (at most limit; then it is killed) and collects its stdout;
// its stderr is dropped.
CommandResult RunCommand(const std::vector<std::string>& argv,
                         const std::vector<std::string>& environment,
                         std::chrono::milliseconds limit = std::chrono::seconds(10));

}  // namespace e2e
