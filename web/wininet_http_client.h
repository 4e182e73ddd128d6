// The HTTP client over WinINet, the Windows system library. Its functions are looked up by name
// in wininet.dll at their first use and kept; a missing library or function stops the program.
// WinINet keeps one cookie store for the whole process, shared by every handle, and fills it from
// each answer by itself.
//
// WinINet's own following of redirects is switched off (INTERNET_FLAG_NO_AUTO_REDIRECT) and the
// client follows them itself, so that a redirect to another host or port goes without the Referer
// line, which carries the login path. The time-outs of ExchangeLimits become WinINet's connect
// and receive time-outs; the body limit is counted here.
#pragma once

#include <functional>
#include <map>
#include <memory>

#include "web/http_client.h"

namespace web {

// The WinINet functions the client calls, as looked up in one library.
struct WinInetFunctions;

// Looks every function up in library (the program uses "wininet.dll"); a library that cannot be
// loaded, or one function it lacks, ends the program through text::StopWithError with a message
// that names the library and the function.
const WinInetFunctions& BindWinInetFunctions(const char* library);

class WinInetHttpClient final : public HttpClient {
 public:
  // whileWaiting runs between the hops of a redirect (the waits inside a hop are WinINet's).
  explicit WinInetHttpClient(std::function<void()> whileWaiting);
  ~WinInetHttpClient() override;
  WinInetHttpClient(const WinInetHttpClient&) = delete;
  WinInetHttpClient& operator=(const WinInetHttpClient&) = delete;

  HttpHandle OpenClient(const text::Text& agent, const text::Text& proxyList,
                        const ExchangeLimits& limits) override;
  HttpHandle Connect(HttpHandle client, const text::Text& host, int32_t port) override;
  HttpHandle OpenRequest(HttpHandle connection, const text::Text& verb, const text::Text& path,
                         const text::Text& version) override;
  bool SendRequest(HttpHandle request, const text::Text& headers, const text::Text* body) override;
  int32_t ReadRequest(HttpHandle request, char* buffer, int32_t size) override;
  std::optional<text::Text> RawHeaders(HttpHandle request) override;
  void Close(HttpHandle handle) override;
  void StoreCookie(const text::Text& url, const text::Text& name, const text::Text& data) override;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace web
