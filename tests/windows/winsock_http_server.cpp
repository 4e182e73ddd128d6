// The loopback test server of tests/web (raw_http_server.h) over Winsock, for the Windows suites.
#include <winsock2.h>
#include <ws2tcpip.h>

#include "raw_http_server.h"

#include <chrono>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace webtest {

namespace {

constexpr int kTickMs = 20;

// Winsock is started once for the test process and left running.
void StartWinsock() {
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  if (!started) throw std::runtime_error("WSAStartup");
}

void close(int s) {
  closesocket(static_cast<SOCKET>(s));
}

void SleepMs(int milliseconds) {
  Sleep(static_cast<DWORD>(milliseconds));
}

int ListenOnLoopback(int* port, int backlog = 16) {
  StartWinsock();
  const int s = static_cast<int>(socket(AF_INET, SOCK_STREAM, 0));
  if (s < 0) throw std::runtime_error("socket");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(s, backlog) != 0) {
    close(s);
    throw std::runtime_error("bind/listen");
  }
  int length = sizeof address;
  getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
  *port = ntohs(address.sin_port);
  return s;
}

// Waits up to one tick for the socket to become readable.
bool Readable(int s) {
  WSAPOLLFD p{static_cast<SOCKET>(s), POLLRDNORM, 0};
  return WSAPoll(&p, 1, kTickMs) > 0;
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
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
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
    const int s = static_cast<int>(accept(listener_, nullptr, nullptr));
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
      const int n = recv(s, buffer, sizeof buffer, 0);
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
          const int n =
              send(s, step.bytes.data() + sent, static_cast<int>(step.bytes.size() - sent), 0);
          if (n <= 0) return false;
          sent += static_cast<size_t>(n);
        }
        break;
      }
      case Step::Kind::kPause: {
        const long long until = NowMs() + step.milliseconds;
        while (!stopping_ && NowMs() < until) SleepMs(kTickMs / 4);
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
