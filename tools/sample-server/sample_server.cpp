#include "tools/sample-server/sample_server.h"

#include <httplib.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <map>
#include <mutex>
#include <random>
#include <stdexcept>

#include "tools/sample-server/sample_data.h"

namespace sample {

namespace {

constexpr const char* kHtml = "text/html; charset=GBK";
constexpr const char* kSessionCookie = "JSESSIONID";

const struct {
  Fault fault;
  const char* name;
} kFaultNames[] = {
    {Fault::kNone, "none"},
    {Fault::kNoCourseRows, "no-rows"},
    {Fault::kServerError, "500"},
    {Fault::kLongHeader, "long-header"},
    {Fault::kZeroByte, "zero-byte"},
    {Fault::kInvalidGbk, "invalid-gbk"},
    {Fault::kCloseMidBody, "close-mid-body"},
    {Fault::kStall, "stall"},
    {Fault::kRedirectOtherPort, "redirect-other-port"},
    {Fault::kStallLogin, "stall-login"},
};

std::string NewSessionId() {
  static std::mutex mutex;
  static std::mt19937_64 random{std::random_device{}()};
  std::lock_guard<std::mutex> lock(mutex);
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string id;
  for (int i = 0; i < 32; ++i) id += kHex[random() % 16];
  return id;
}

// The value of one cookie in a Cookie request line ("a=1; JSESSIONID=x").
std::string CookieValue(const std::string& cookieLine, const std::string& name) {
  size_t at = 0;
  while (at < cookieLine.size()) {
    while (at < cookieLine.size() && (cookieLine[at] == ' ' || cookieLine[at] == ';')) ++at;
    const size_t end = cookieLine.find(';', at);
    const std::string pair = cookieLine.substr(at, end == std::string::npos ? end : end - at);
    if (pair.starts_with(name + "=")) return pair.substr(name.size() + 1);
    at = end == std::string::npos ? cookieLine.size() : end + 1;
  }
  return {};
}

SampleServerOptions OnAnyPort(SampleServerOptions options) {
  options.port = 0;
  return options;
}

}  // namespace

std::optional<Fault> FaultNamed(std::string_view name) {
  for (const auto& entry : kFaultNames) {
    if (name == entry.name) return entry.fault;
  }
  return std::nullopt;
}

std::vector<std::string> FaultNames() {
  std::vector<std::string> names;
  for (const auto& entry : kFaultNames) names.emplace_back(entry.name);
  return names;
}

struct SampleServer::Impl {
  SampleServerOptions options;
  httplib::Server http;
  int port = 0;
  httplib::Server other;  // the second port of kRedirectOtherPort
  int otherPort = 0;
  bool bound = false;
  std::atomic<bool> stopping{false};
  std::mutex mutex;
  std::map<std::string, std::string> sessions;  // session id -> student number
  std::optional<SampleStudent> generated;

  const SampleStudent* Find(const std::string& number) const {
    if (generated && number == generated->number) return &*generated;
    return FindStudent(number);
  }

  const SampleStudent* LoggedIn(const httplib::Request& request) {
    const std::string id = CookieValue(request.get_header_value("Cookie"), kSessionCookie);
    if (id.empty()) return nullptr;
    std::lock_guard<std::mutex> lock(mutex);
    const auto it = sessions.find(id);
    return it == sessions.end() ? nullptr : Find(it->second);
  }

  void Login(const httplib::Request& request, httplib::Response& response) {
    const SampleStudent* student = Find(request.get_param_value("zjh"));
    if (student == nullptr) {
      response.set_content(UnknownNumberPage(), kHtml);
    } else if (request.get_param_value("mm") != student->password) {
      response.set_content(WrongPasswordPage(), kHtml);
    } else {
      const std::string id = NewSessionId();
      {
        std::lock_guard<std::mutex> lock(mutex);
        sessions[id] = student->number;
      }
      response.set_header("Set-Cookie", std::string(kSessionCookie) + "=" + id + "; Path=/");
      response.set_content(LoginSuccessPage(*student), kHtml);
    }
    if (options.fault == Fault::kStallLogin) {
      const std::string page = std::move(response.body);
      response.body.clear();  // a body set would go out instead of the provider's half
      SendHalf(response, page, true);
    }
  }

  // Half of the page, then a close or a silence that lasts until the server stops.
  void SendHalf(httplib::Response& response, const std::string& page, bool stall) {
    response.set_content_provider(page.size(), kHtml,
                                  [this, page, stall](size_t, size_t, httplib::DataSink& sink) {
                                    sink.write(page.data(), page.size() / 2);
                                    while (stall && !stopping) usleep(20000);
                                    return false;
                                  });
  }

  void GradePage(const httplib::Request& request, httplib::Response& response) {
    const SampleStudent* student = LoggedIn(request);
    std::string page = sample::GradePage(student);
    switch (options.fault) {
      case Fault::kNone:
      case Fault::kStallLogin:
        break;
      case Fault::kNoCourseRows: {
        SampleStudent withoutCourses;
        page = sample::GradePage(student == nullptr ? nullptr : &withoutCourses);
        break;
      }
      case Fault::kServerError:
        response.status = 500;
        response.set_content(ServerErrorPage(), kHtml);
        return;
      case Fault::kLongHeader:
        response.set_header("X-Padding", std::string(1100, 'p'));
        break;
      case Fault::kZeroByte: {
        const size_t second = page.find(kGradeRowMarker, page.find(kGradeRowMarker) + 1);
        page.insert(second == std::string::npos ? page.size() / 2 : second, 1, '\0');
        break;
      }
      case Fault::kInvalidGbk:
        if (student != nullptr && !student->courses.empty()) {
          const std::string& name = student->courses.front().name;
          const size_t at = page.find(name);
          if (at != std::string::npos) page.insert(at + name.size(), "\xFF\x80");
        }
        break;
      case Fault::kCloseMidBody:
      case Fault::kStall:
        SendHalf(response, page, options.fault == Fault::kStall);
        return;
      case Fault::kRedirectOtherPort:
        response.set_redirect(
            "http://127.0.0.1:" + std::to_string(otherPort) + "/" + std::string(kGradePath), 302);
        return;
    }
    response.set_content(page, kHtml);
  }

  void GradeAction(const httplib::Request& request, httplib::Response& response) {
    const std::string oper = request.get_param_value("oper");
    if (oper == "sxinfo") {
      GradePage(request, response);
    } else if (oper == "lnjhqk") {
      response.set_content(PlanEntryPage(LoggedIn(request)), kHtml);
    } else {
      response.status = 404;
      response.set_content(NotFoundPage(), kHtml);
    }
  }

  void PlanAction(const httplib::Request& request, httplib::Response& response) {
    if (request.get_param_value("oper") == "detail") {
      response.set_content(PlanPage(LoggedIn(request)), kHtml);
    } else {
      response.status = 404;
      response.set_content(NotFoundPage(), kHtml);
    }
  }
};

SampleServer::SampleServer(SampleServerOptions options) : impl_(std::make_unique<Impl>()) {
  impl_->options = options;
  if (options.generatedCourses > 0) impl_->generated = GeneratedStudent(options.generatedCourses);
  Impl* impl = impl_.get();
  impl->http.set_keep_alive_timeout(1);
  const auto login = [impl](const httplib::Request& q, httplib::Response& r) { impl->Login(q, r); };
  impl->http.Get(std::string("/") + kLoginPath, login);
  impl->http.Post(std::string("/") + kLoginPath, login);
  impl->http.Get("/gradeLnAllAction.do", [impl](const httplib::Request& q, httplib::Response& r) {
    impl->GradeAction(q, r);
  });
  impl->http.Get("/lnjhqkAction.do", [impl](const httplib::Request& q, httplib::Response& r) {
    impl->PlanAction(q, r);
  });
  if (options.logRequests) {
    impl->http.set_pre_routing_handler([impl](const httplib::Request& q, httplib::Response&) {
      std::lock_guard<std::mutex> lock(impl->mutex);
      std::printf("request %s\n", q.path.c_str());
      std::fflush(stdout);
      return httplib::Server::HandlerResponse::Unhandled;
    });
  }
  impl->http.set_error_handler([](const httplib::Request&, httplib::Response& r) {
    if (r.body.empty()) r.set_content(NotFoundPage(), kHtml);
  });
  impl->other.set_keep_alive_timeout(1);
  impl->other.Get("/gradeLnAllAction.do", [impl](const httplib::Request& q, httplib::Response& r) {
    if (q.has_header("Referer")) {
      r.status = 400;
      r.set_content("<html><body><h1>400 Referer from another server</h1></body></html>", kHtml);
    } else {
      r.set_content(sample::GradePage(impl->LoggedIn(q)), kHtml);
    }
  });
}

SampleServer::~SampleServer() {
  Stop();
}

bool SampleServer::Bind() {
  if (impl_->options.fault == Fault::kRedirectOtherPort) {
    impl_->otherPort = impl_->other.bind_to_any_port("127.0.0.1");
    if (impl_->otherPort <= 0) return false;
  }
  if (impl_->options.port == 0) {
    impl_->port = impl_->http.bind_to_any_port("127.0.0.1");
    impl_->bound = impl_->port > 0;
  } else {
    impl_->bound = impl_->http.bind_to_port("127.0.0.1", impl_->options.port);
    if (impl_->bound) impl_->port = impl_->options.port;
  }
  return impl_->bound;
}

int SampleServer::Port() const {
  return impl_->port;
}

std::string SampleServer::Base() const {
  return "http://127.0.0.1:" + std::to_string(impl_->port) + "/";
}

bool SampleServer::Serve() {
  if (!impl_->bound) return false;
  if (impl_->otherPort == 0) return impl_->http.listen_after_bind();
  std::thread other([this] { impl_->other.listen_after_bind(); });
  for (int i = 0; i < 5000 && !impl_->other.is_running(); ++i) usleep(1000);
  const bool served = impl_->http.listen_after_bind();
  impl_->other.stop();
  other.join();
  return served;
}

bool SampleServer::IsServing() const {
  return impl_->http.is_running();
}

void SampleServer::Stop() {
  impl_->stopping = true;
  impl_->http.stop();
  impl_->other.stop();
}

BackgroundSampleServer::BackgroundSampleServer(Fault fault)
    : BackgroundSampleServer(SampleServerOptions{0, fault}) {}

BackgroundSampleServer::BackgroundSampleServer(SampleServerOptions options)
    : server_(OnAnyPort(options)) {
  if (!server_.Bind()) throw std::runtime_error("sample server: no free loopback port");
  thread_ = std::thread([this] { server_.Serve(); });
  // Until it serves, a stop would be lost.
  for (int i = 0; i < 5000 && !server_.IsServing(); ++i) usleep(1000);
}

BackgroundSampleServer::~BackgroundSampleServer() {
  server_.Stop();
  thread_.join();
}

}  // namespace sample
