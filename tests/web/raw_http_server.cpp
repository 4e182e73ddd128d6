#include "raw_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace webtest {

namespace {

constexpr int kTickMs = 20;

int ListenOnLoopback(int* port, int backlog = 16) {
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  if (s < 0) throw std::runtime_error("socket");
  const int yes = 1;
  setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(s, backlog) != 0) {
    close(s);
    throw std::runtime_error("bind/listen");
  }
  socklen_t length = sizeof address;
  getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
  *port = ntohs(address.sin_port);
  return s;
}

// Waits up to one tick for the socket to become readable.
bool Readable(int s) {
  pollfd p{s, POLLIN, 0};
  return poll(&p, 1, kTickMs) > 0;
}

size_t ContentLength(const std::string& head) {
  std::string lower;
  for (const char c : head) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const size_t at = lower.find("\r\ncontent-length:");
  if (at == std::string::npos) return 0;
  return static_cast<size_t>(std::strtoul(head.c_str() + at + 17, nullptr, 10));
}

}  // namespace

Step Send(std::string bytes) {
  return Step{Step::Kind::kSend, std::move(bytes), 0};
}
Step Pause(int milliseconds) {
  return Step{Step::Kind::kPause, {}, milliseconds};
}
Step CloseConnection() {
  return Step{Step::Kind::kClose, {}, 0};
}

Script Answer(const std::string& statusLine, const std::string& headerLines,
              const std::string& body) {
  return {Send(statusLine + "\r\n" + headerLines + "Content-Length: " +
               std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body),
          CloseConnection()};
}

long long NowMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

RawHttpServer::RawHttpServer(std::function<Script(const std::string&)> answer)
    : answer_(std::move(answer)) {
  listener_ = ListenOnLoopback(&port_);
  acceptor_ = std::thread([this] { AcceptLoop(); });
}

RawHttpServer::~RawHttpServer() {
  stopping_ = true;
  acceptor_.join();
  for (std::thread& t : connections_) t.join();
  close(listener_);
}

std::string RawHttpServer::Base() const {
  return "http://127.0.0.1:" + std::to_string(port_) + "/";
}

std::vector<std::string> RawHttpServer::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

void RawHttpServer::AcceptLoop() {
  while (!stopping_) {
    if (!Readable(listener_)) continue;
    const int s = accept(listener_, nullptr, nullptr);
    if (s < 0) continue;
    connections_.emplace_back([this, s] { Serve(s); });
  }
}

void RawHttpServer::Serve(int s) {
  std::string received;
  bool open = true;
  while (open && !stopping_) {
    // One request: the header block, then the body its Content-Length announces.
    size_t headEnd = received.find("\r\n\r\n");
    while (!stopping_ &&
           (headEnd == std::string::npos ||
            received.size() < headEnd + 4 + ContentLength(received.substr(0, headEnd)))) {
      if (!Readable(s)) continue;
      char buffer[65536];
      const ssize_t n = recv(s, buffer, sizeof buffer, 0);
      if (n <= 0) {
        open = false;
        break;
      }
      received.append(buffer, static_cast<size_t>(n));
      headEnd = received.find("\r\n\r\n");
    }
    if (!open || stopping_) break;
    const size_t length = headEnd + 4 + ContentLength(received.substr(0, headEnd));
    const std::string request = received.substr(0, length);
    received.erase(0, length);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      requests_.push_back(request);
    }
    open = Run(s, answer_(request));
  }
  close(s);
}

bool RawHttpServer::Run(int s, const Script& script) {
  for (const Step& step : script) {
    switch (step.kind) {
      case Step::Kind::kSend: {
        size_t sent = 0;
        while (sent < step.bytes.size()) {
          const ssize_t n =
              send(s, step.bytes.data() + sent, step.bytes.size() - sent, MSG_NOSIGNAL);
          if (n <= 0) return false;
          sent += static_cast<size_t>(n);
        }
        break;
      }
      case Step::Kind::kPause: {
        const long long until = NowMs() + step.milliseconds;
        while (!stopping_ && NowMs() < until) usleep(kTickMs * 1000 / 4);
        break;
      }
      case Step::Kind::kClose:
        return false;
    }
  }
  return true;
}

int UnusedPort() {
  int port = 0;
  const int s = ListenOnLoopback(&port);
  close(s);
  return port;
}

}  // namespace webtest

namespace webtest {

FullListener::FullListener() {
  listener_ = ListenOnLoopback(&port_, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(port_));
  // Fill the queue: connections that complete and wait to be accepted, then ones that hang.
  for (int i = 0; i < 4; ++i) {
    const int s = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    queued_.push_back(s);
  }
  usleep(50000);
}

FullListener::~FullListener() {
  for (const int s : queued_) close(s);
  close(listener_);
}

}  // namespace webtest
