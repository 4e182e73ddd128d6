// A loopback HTTP server for tests that need to see the exact bytes of each request and to
// answer with exact bytes: whole answers, answers cut short, pauses, silence. Every connection
// runs in its own thread, so an exchange may run inside another one's wait.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace webtest {

// One thing the server does while answering a request.
struct Step {
  enum class Kind { kSend, kPause, kClose };
  Kind kind = Kind::kSend;
  std::string bytes;     // kSend
  int milliseconds = 0;  // kPause
};
using Script = std::vector<Step>;

Step Send(std::string bytes);
Step Pause(int milliseconds);
Step CloseConnection();

// A complete answer with Content-Length and "Connection: close", then the close.
Script Answer(const std::string& statusLine, const std::string& headerLines,
              const std::string& body);

class RawHttpServer {
 public:
  // answer gets each request's raw bytes (header block and body) and says what to do.
  explicit RawHttpServer(std::function<Script(const std::string& request)> answer);
  ~RawHttpServer();
  RawHttpServer(const RawHttpServer&) = delete;
  RawHttpServer& operator=(const RawHttpServer&) = delete;

  int Port() const { return port_; }
  // "http://127.0.0.1:<port>/"
  std::string Base() const;
  // Every request received so far, in order of arrival.
  std::vector<std::string> Requests() const;

 private:
  void AcceptLoop();
  void Serve(int socket);
  bool Run(int socket, const Script& script);

  std::function<Script(const std::string&)> answer_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  std::vector<std::thread> connections_;
  std::thread acceptor_;
};

// A loopback port where nothing listens (connections are refused).
int UnusedPort();

// A loopback listener that never accepts and whose queue is already full, so that a further
// connection is never completed.
class FullListener {
 public:
  FullListener();
  ~FullListener();
  FullListener(const FullListener&) = delete;
  FullListener& operator=(const FullListener&) = delete;
  int Port() const { return port_; }

 private:
  int listener_ = -1;
  int port_ = 0;
  std::vector<int> queued_;
};

// Milliseconds on a monotonic clock.
long long NowMs();

}  // namespace webtest
