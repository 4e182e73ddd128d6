// The bundled sample academic-affairs server: the login with its two failure answers and a
// session cookie, and the grade and plan pages of the sample students (sample_data.h), which
// answer only to that cookie. Loopback only.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace sample {

// Ways the grade page (or the login answer) can go wrong, for tests of how the program copes.
enum class Fault {
  kNone,
  kNoCourseRows,  // a grade page whose table has no course rows
  kServerError,   // status 500 with an error page
  kLongHeader,    // a header block over 1024 bytes
  kZeroByte,      // a zero byte after the first course row
  kInvalidGbk,    // bytes that are no GBK character in the first course name
  kCloseMidBody,  // the connection closed after half the announced body
  kStall,         // half the body, then silence until the server stops
  // A redirect to a second port, which answers only requests without a Referer line (the one
  // the program sends carries the login path).
  kRedirectOtherPort,
  // The login answer, not the grade page: half of it, then silence until the server stops.
  kStallLogin,
};

// The option names of the faults: "none", "no-rows", "500", "long-header", "zero-byte",
// "invalid-gbk", "close-mid-body", "stall", "redirect-other-port", "stall-login".
std::optional<Fault> FaultNamed(std::string_view name);
std::vector<std::string> FaultNames();

struct SampleServerOptions {
  int port = 8936;  // 0: any free port
  Fault fault = Fault::kNone;
  // When above 0, the server also knows the generated student (sample_data.h) with this many
  // courses.
  int generatedCourses = 0;
  // Prints "request <path>" (without the query) on stdout as each request arrives, before it is
  // answered, so a test sees a request that is being stalled.
  bool logRequests = false;
};

class SampleServer {
 public:
  explicit SampleServer(SampleServerOptions options);
  ~SampleServer();
  SampleServer(const SampleServer&) = delete;
  SampleServer& operator=(const SampleServer&) = delete;

  // Binds 127.0.0.1 at the port; false when it cannot be had.
  bool Bind();
  // The bound port, after Bind.
  int Port() const;
  // "http://127.0.0.1:<port>/"
  std::string Base() const;
  // Answers requests until Stop; false when not bound.
  bool Serve();
  bool IsServing() const;
  // Ends Serve, from any thread; a stalled answer ends too.
  void Stop();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// A sample server on a free port, serving on its own thread until it is destroyed (for tests).
class BackgroundSampleServer {
 public:
  explicit BackgroundSampleServer(Fault fault = Fault::kNone);
  // The port of the options is ignored: a free one is taken.
  explicit BackgroundSampleServer(SampleServerOptions options);
  ~BackgroundSampleServer();
  BackgroundSampleServer(const BackgroundSampleServer&) = delete;
  BackgroundSampleServer& operator=(const BackgroundSampleServer&) = delete;
  int Port() const { return server_.Port(); }
  std::string Base() const { return server_.Base(); }

 private:
  SampleServer server_;
  std::thread thread_;
};

}  // namespace sample
