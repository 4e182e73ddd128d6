// The HTTP client over libcurl. Each request is one easy handle driven through its own multi
// handle, so that every wait (connecting, sending, each read) can call back to the program's
// event pump. The cookie store is one share handle per client object, in memory only: nothing is
// read from or written to disk.
#pragma once

#include <functional>
#include <memory>

#include "web/http_client.h"

namespace web {

class CurlHttpClient final : public HttpClient {
 public:
  // whileWaiting runs again and again, at least every few milliseconds, while a request waits
  // for the network; never from inside a libcurl call, so it may run another exchange.
  explicit CurlHttpClient(std::function<void()> whileWaiting);
  ~CurlHttpClient() override;
  CurlHttpClient(const CurlHttpClient&) = delete;
  CurlHttpClient& operator=(const CurlHttpClient&) = delete;

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

  // The cookies of the store, one Netscape cookie-file line each (for tests).
  text::TextArray CookieLines();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace web
