// The exchange's steps, driven through a client that records every call (and every event pump)
// in one log, so that order, arguments and results can be checked without a network.
#include "web/http_exchange.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "web/event_pump.h"

namespace web {
namespace {

using ::testing::ElementsAre;
using text::Bytes;
using text::Text;

const Text kAcceptLine =
    "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, "
    "application/x-shockwave-flash, application/vnd.ms-excel, application/vnd.ms-powerpoint, "
    "application/msword, */*\r\n";

class RecordingClient : public HttpClient {
 public:
  // What the client is told to do.
  bool failClient = false, failConnection = false, failRequest = false;
  bool answered = true;
  std::deque<std::string> chunks;  // delivered one per read; then 0
  bool failAfterChunks = false;    // -1 instead of the final 0
  std::optional<Text> rawHeaders = Text("HTTP/1.1 200 OK\r\n\r\n");

  // What it saw.
  std::vector<std::string> log;
  Text sentHeaders;
  std::optional<Text> sentBody;
  std::vector<int32_t> readSizes;
  ExchangeLimits limits;

  RecordingClient() {
    SetEventPump([this] { log.push_back("pump"); });
  }
  ~RecordingClient() override { SetEventPump(nullptr); }

  HttpHandle OpenClient(const Text& agent, const Text& proxyList,
                        const ExchangeLimits& l) override {
    log.push_back("open client " + agent + " [" + proxyList + "]");
    limits = l;
    return failClient ? kNoHandle : 1;
  }
  HttpHandle Connect(HttpHandle client, const Text& host, int32_t port) override {
    log.push_back("connect " + std::to_string(client) + " " + host + " " + std::to_string(port));
    return failConnection ? kNoHandle : 2;
  }
  HttpHandle OpenRequest(HttpHandle connection, const Text& verb, const Text& path,
                         const Text& version) override {
    log.push_back("open request " + std::to_string(connection) + " [" + verb + "] " + path + " " +
                  version);
    return failRequest ? kNoHandle : 3;
  }
  bool SendRequest(HttpHandle request, const Text& headers, const Text* body) override {
    log.push_back("send " + std::to_string(request));
    sentHeaders = headers;
    if (body != nullptr) sentBody = *body;
    return answered;
  }
  int32_t ReadRequest(HttpHandle, char* buffer, int32_t size) override {
    log.push_back("read");
    readSizes.push_back(size);
    if (!answered) return -1;
    if (chunks.empty()) return failAfterChunks ? -1 : 0;
    const std::string chunk = chunks.front();
    chunks.pop_front();
    chunk.copy(buffer, chunk.size());
    return static_cast<int32_t>(chunk.size());
  }
  std::optional<Text> RawHeaders(HttpHandle) override {
    log.push_back("raw headers");
    return rawHeaders;
  }
  void Close(HttpHandle handle) override {
    static const char* const kKinds[] = {"?", "client", "connection", "request"};
    log.push_back(std::string("close ") + kKinds[handle < 4 ? handle : 0]);
  }
  void StoreCookie(const Text& url, const Text& name, const Text& data) override {
    log.push_back("cookie " + url + " [" + name + "] [" + data + "]");
  }

  // The log without the pumps and reads, for the order of the other calls.
  std::vector<std::string> Calls() const {
    std::vector<std::string> calls;
    for (const std::string& entry : log) {
      if (entry != "pump" && entry != "read") calls.push_back(entry);
    }
    return calls;
  }
};

Bytes Exchange(RecordingClient& client, const Text& url, const Text& method = "",
               const Text& body = "", Text headers = "", const Text& proxy = "") {
  Text responseHeaders = "old";
  return HttpExchange(client, url, method, proxy, headers, body, responseHeaders);
}

const Bytes kFailureBody{std::string(255, '\0')};

TEST(HttpExchange, GetWithNothingGivenSendsTheThreeLinesAndReadsTheBody) {
  RecordingClient client;
  client.chunks = {std::string(2048, 'a'), std::string("b\0c", 3)};
  Text headers;
  Text responseHeaders;
  const Text url = "http://Host.Example:8936/loginAction.do?zjh=1&mm=2";
  const Bytes body = HttpExchange(client, url, "", "", headers, "", responseHeaders);

  EXPECT_EQ(body.data, std::string(2048, 'a') + std::string("b\0c", 3));
  const Text expectedHeaders = kAcceptLine + "Referer: " + url + "\r\nAccept-Language: zh-cn\r\n";
  EXPECT_EQ(headers, expectedHeaders);
  EXPECT_EQ(client.sentHeaders, expectedHeaders);
  EXPECT_FALSE(client.sentBody.has_value());
  EXPECT_EQ(responseHeaders, "HTTP/1.1 200 OK\r\n\r\n");
  EXPECT_THAT(client.Calls(),
              ElementsAre("open client Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0) []",
                          "connect 1 host.example 8936",
                          "open request 2 [] /loginAction.do?zjh=1&mm=2 HTTP/1.1", "send 3",
                          "raw headers", "close request", "close connection", "close client"));
  // A pump before every read, the last read (0) included; reads of 2048 bytes.
  EXPECT_THAT(client.log, ::testing::Contains("pump"));
  const std::vector<std::string> reads(client.log.begin() + 4, client.log.begin() + 10);
  EXPECT_THAT(reads, ElementsAre("pump", "read", "pump", "read", "pump", "read"));
  EXPECT_THAT(client.readSizes, ElementsAre(2048, 2048, 2048));
  EXPECT_EQ(client.limits.stallTimeoutMs, CurrentExchangeLimits().stallTimeoutMs);
}

TEST(HttpExchange, CompletesHeadersOnlyWithTheNamesFoundNowhere) {
  const Text url = "http://jw/p";
  const Text referer = "Referer: http://jw/p\r\n";
  const Text language = "Accept-Language: zh-cn\r\n";
  const struct {
    Text given;
    Text completed;
  } cases[] = {
      {"", kAcceptLine + referer + language},
      // Any letter case counts as the name being there.
      {"accept: text/html\r\n", "accept: text/html\r\n" + referer + language},
      {"REFERER: x\r\n", "REFERER: x\r\n" + kAcceptLine + language},
      // "Accept: " does not occur inside "Accept-Language: ".
      {language, language + kAcceptLine + referer},
      // The names are searched anywhere, not only at a line start.
      {"X-Note: see Referer: y\r\n", "X-Note: see Referer: y\r\n" + kAcceptLine + language},
      // Appended right after the text: a caller text without "\r\n" runs into the first line.
      {"X-A: 1", "X-A: 1" + kAcceptLine + referer + language},
      {kAcceptLine + referer + language, kAcceptLine + referer + language},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.given);
    Text headers = c.given;
    CompleteRequestHeaders(headers, url);
    EXPECT_EQ(headers, c.completed);
  }
}

TEST(HttpExchange, MethodDecidesWhatIsSent) {
  const Text base = kAcceptLine + "Referer: http://jw/p\r\nAccept-Language: zh-cn\r\n";
  const Text contentType = "Content-Type: application/x-www-form-urlencoded\r\n";
  const struct {
    Text method;
    Text body;
    Text headers;
    Text sentHeaders;
    std::optional<Text> sentBody;
  } cases[] = {
      {"", "ignored", "", base, std::nullopt},
      {"get", "ignored", "", base, std::nullopt},
      {"GeT", "", "", base, std::nullopt},
      {"POST", "a=1&b=2", "", base + contentType + "Content-Length: 7\r\n", Text("a=1&b=2")},
      {"post", "x", "content-type: text/plain\r\n",
       "content-type: text/plain\r\n" + base + "Content-Length: 1\r\n", Text("x")},
      // A Content-Length of the caller's own gets a second one.
      {"POST", "hello", "Content-Length: 5\r\n",
       "Content-Length: 5\r\n" + base + contentType + "Content-Length: 5\r\n", Text("hello")},
      // An empty body: neither line, and no body.
      {"POST", "", "", base, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.method + " " + c.body);
    RecordingClient client;
    Exchange(client, "http://jw/p", c.method, c.body, c.headers);
    EXPECT_EQ(client.sentHeaders, c.sentHeaders);
    EXPECT_EQ(client.sentBody, c.sentBody);
    EXPECT_THAT(client.Calls(),
                ::testing::Contains("open request 2 [" + c.method + "] /p HTTP/1.1"));
  }
}

// The kind of each call (its first words), without the arguments.
std::vector<std::string> CallKinds(const RecordingClient& client) {
  std::vector<std::string> kinds;
  for (const std::string& call : client.Calls()) {
    const size_t firstSpace = call.find(' ');
    const bool twoWords =
        call.starts_with("open") || call.starts_with("close") || call.starts_with("raw");
    kinds.push_back(call.substr(0, twoWords ? call.find(' ', firstSpace + 1) : firstSpace));
  }
  return kinds;
}

TEST(HttpExchange, EachFailureClosesWhatWasOpenedInItsOrder) {
  const struct {
    const char* what;
    void (*setUp)(RecordingClient&);
    Text method;
    Bytes result;
    std::vector<std::string> calls;
  } cases[] = {
      {"no client handle",
       [](RecordingClient& c) { c.failClient = true; },
       "",
       kFailureBody,
       {"open client"}},
      {"no connection handle",
       [](RecordingClient& c) { c.failConnection = true; },
       "",
       kFailureBody,
       {"open client", "connect", "close client"}},
      {"no request handle",
       [](RecordingClient& c) { c.failRequest = true; },
       "",
       kFailureBody,
       {"open client", "connect", "open request", "close connection", "close client"}},
      {"another method",
       [](RecordingClient&) {},
       "DELETE",
       kFailureBody,
       {"open client", "connect", "open request", "close connection", "close client",
        "close request"}},
      {"no answer",
       [](RecordingClient& c) { c.answered = false; },
       "",
       Bytes{},
       {"open client", "connect", "open request", "send", "close request", "close connection",
        "close client"}},
      // A body that breaks off is no body: the exchange failed, and its cookies are not taken.
      {"a read fails",
       [](RecordingClient& c) {
         c.chunks = {"part"};
         c.failAfterChunks = true;
         c.rawHeaders = "HTTP/1.1 200 OK\r\nSet-Cookie: a=b\r\n\r\n";
       },
       "",
       Bytes{},
       {"open client", "connect", "open request", "send", "close request", "close connection",
        "close client"}},
      {"an empty body",
       [](RecordingClient&) {},
       "",
       Bytes{},
       {"open client", "connect", "open request", "send", "raw headers", "close request",
        "close connection", "close client"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    RecordingClient client;
    c.setUp(client);
    EXPECT_EQ(Exchange(client, "http://jw/p", c.method, "x"), c.result);
    EXPECT_EQ(CallKinds(client), c.calls);
  }
}

TEST(HttpExchange, HeaderBlockIsKeptOnlyWhenItFitsWithItsZero) {
  const Text spaces(1024, ' ');
  const Text fits = "HTTP/1.1 200 OK\r\nX: " + Text(1023 - 24, 'y') + "\r\n\r\n";
  ASSERT_EQ(fits.size(), 1023u);
  const struct {
    const char* what;
    std::optional<Text> block;
    bool answered;
    Text responseHeaders;
  } cases[] = {
      {"1023 bytes", fits, true, fits},
      {"1024 bytes", fits + "z", true, spaces},
      {"a zero inside", Text("HTTP/1.1 200 OK\r\nX: a\0b\r\n\r\n", 27), true,
       "HTTP/1.1 200 OK\r\nX: a"},
      {"no block", std::nullopt, true, spaces},
      {"no answer", Text("HTTP/1.1 200 OK\r\n\r\n"), false, spaces},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    RecordingClient client;
    client.rawHeaders = c.block;
    client.answered = c.answered;
    Text headers;
    Text responseHeaders = "old";
    HttpExchange(client, "http://jw/p", "", "", headers, "", responseHeaders);
    EXPECT_EQ(responseHeaders, c.responseHeaders);
  }
}

TEST(HttpExchange, CookieTransferHandsOverEverySetCookieLineAsItStands) {
  RecordingClient client;
  client.rawHeaders =
      "HTTP/1.1 200 OK\r\n"
      "Set-Cookie: JSESSIONID=abc123; Path=/\r\n"
      "set-cookie: token=a=b==; expires=Thu, 01 Jan 2099 00:00:00 GMT\r\n"
      "X-Note: Set-Cookie: late=1\r\n"
      "Set-Cookie: novalue\r\n"
      "Set-Cookie: =onlydata\n"
      "Set-Cookie: empty=\r\n"
      "\r\n";
  Exchange(client, "http://Jwc.EDU:8936/x");
  std::vector<std::string> afterClose;
  bool closed = false;
  for (const std::string& entry : client.log) {
    if (closed) afterClose.push_back(entry);
    if (entry == "close client") closed = true;
  }
  // Each line in turn, a pump after every one of the eight lines; host lower-cased, no port.
  EXPECT_THAT(afterClose,
              ElementsAre("pump", "cookie http://jwc.edu [JSESSIONID] [abc123; Path=/]", "pump",
                          "cookie http://jwc.edu [token] [a=b==; expires=Thu, 01 Jan 2099 "
                          "00:00:00 GMT]",
                          "pump", "cookie http://jwc.edu [Cookie: late] [1]", "pump",
                          "cookie http://jwc.edu [] [novalue]", "pump",
                          "cookie http://jwc.edu [] [onlydata]", "pump",
                          "cookie http://jwc.edu [empty] []", "pump", "pump"));
}

TEST(HttpExchange, CookieTransferDoesNothingWithoutASetCookieName) {
  RecordingClient client;
  client.rawHeaders = "HTTP/1.1 200 OK\r\nSet-Cookie:a=b\r\nCookie: c=d\r\n\r\n";
  Exchange(client, "http://jw/");
  for (const std::string& entry : client.log) EXPECT_FALSE(entry.starts_with("cookie")) << entry;
  // Not a single pump after the handles are closed: the pass did not run.
  EXPECT_EQ(client.log.back(), "close client");
}

TEST(HttpExchange, ProxyIsUsedUnlessItIsBlank) {
  const struct {
    Text proxy;
    Text list;
  } cases[] = {
      {"", ""},
      {" \t", "http= \t"},
      {"  　", ""},
      {"127.0.0.1:3128", "http=127.0.0.1:3128"},
      {" p:1 ", "http= p:1 "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.proxy);
    RecordingClient client;
    Exchange(client, "http://jw/", "", "", "", c.proxy);
    EXPECT_EQ(client.log.front(),
              "open client Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0) [" + c.list + "]");
  }
}

}  // namespace
}  // namespace web
