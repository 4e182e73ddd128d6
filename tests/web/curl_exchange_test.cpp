// The exchange through the libcurl client against servers on loopback that record each request
// byte for byte and answer with exact bytes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "raw_http_server.h"
#include "web/curl_http_client.h"
#include "web/event_pump.h"
#include "web/exchange_limits.h"
#include "web/fetch.h"
#include "web/http_exchange.h"
#include "web/percent_encode.h"

namespace web {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using text::Bytes;
using text::Text;
using webtest::Answer;
using webtest::RawHttpServer;
using webtest::Script;

const Text kAcceptLine =
    "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, "
    "application/x-shockwave-flash, application/vnd.ms-excel, application/vnd.ms-powerpoint, "
    "application/msword, */*\r\n";

Script Ok(const std::string& body, const std::string& headerLines = "") {
  return Answer("HTTP/1.1 200 OK", headerLines, body);
}

// How often a text occurs in another.
int Count(const std::string& haystack, const std::string& needle) {
  int count = 0;
  for (size_t at = haystack.find(needle); at != std::string::npos;
       at = haystack.find(needle, at + 1)) {
    ++count;
  }
  return count;
}

std::string HostOf(const RawHttpServer& server) {
  return "127.0.0.1:" + std::to_string(server.Port());
}

class CurlExchange : public ::testing::Test {
 protected:
  void SetUp() override {
    ExchangeLimits limits;
    limits.connectTimeoutMs = 2000;
    limits.stallTimeoutMs = 2000;
    SetExchangeLimits(limits);
  }
  void TearDown() override { SetExchangeLimits(ExchangeLimits{}); }

  // A GET through this test's own client (and so its own cookie store).
  Bytes Get(const Text& url, Text* responseHeaders = nullptr) {
    Text headers;
    Text block;
    Bytes body = HttpExchange(client_, url, "", "", headers, "", block);
    if (responseHeaders != nullptr) *responseHeaders = block;
    return body;
  }

  int pumps_ = 0;
  CurlHttpClient client_{[this] { ++pumps_; }};
};

TEST_F(CurlExchange, LoginRequestArrivesWithExactlyTheProgramsLines) {
  RawHttpServer server([](const std::string&) { return Ok("<html>ok</html>"); });
  // As the login builds it: the fields encoded, joined to the server's base unchanged.
  const Text path =
      "loginAction.do?zjh=" + PercentEncode("2020123456") + "&mm=" + PercentEncode("pa&ss w#1");
  EXPECT_EQ(FetchPage(server.Base(), path), "<html>ok</html>");

  const std::string url = server.Base() + path;
  const std::string expected =
      "GET /loginAction.do?zjh=2020123456&mm=pa%26ss%20w%231 HTTP/1.1\r\n"
      "Host: " +
      HostOf(server) +
      "\r\n"
      "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)\r\n" +
      kAcceptLine + "Referer: " + url + "\r\n" +
      "Accept-Language: zh-cn\r\n"
      "\r\n";
  ASSERT_EQ(server.Requests().size(), 1u);
  EXPECT_EQ(server.Requests()[0], expected);
}

TEST_F(CurlExchange, PathGoesOutUnchanged) {
  RawHttpServer server([](const std::string&) { return Ok("x"); });
  const struct {
    Text relative;
    std::string requestLine;
  } cases[] = {
      {"/gradeLnAllAction.do?type=ln&oper=sxinfo&lnsxdm=001",
       "GET //gradeLnAllAction.do?type=ln&oper=sxinfo&lnsxdm=001 HTTP/1.1\r\n"},
      {"a/../B/./c?X=%41%zz", "GET /a/../B/./c?X=%41%zz HTTP/1.1\r\n"},
      {"", "GET / HTTP/1.1\r\n"},
      // What a request line cannot carry goes percent-encoded: space, "#", GBK bytes.
      {"p q#r?成绩", "GET /p%20q%23r?%B3%C9%BC%A8 HTTP/1.1\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.relative);
    const size_t before = server.Requests().size();
    EXPECT_EQ(Get(server.Base() + c.relative).data, "x");
    ASSERT_EQ(server.Requests().size(), before + 1);
    EXPECT_TRUE(server.Requests().back().starts_with(c.requestLine)) << server.Requests().back();
  }
}

TEST_F(CurlExchange, CookieOfTheLoginAnswerComesBackThroughANewExchange) {
  RawHttpServer server([](const std::string& request) {
    if (request.starts_with("GET /login")) {
      return Ok("welcome", "Set-Cookie: JSESSIONID=abc123; Path=/\r\n");
    }
    return Ok("grades");
  });
  Text block;
  EXPECT_EQ(Get(server.Base() + "login?zjh=1", &block).data, "welcome");
  EXPECT_THAT(block, HasSubstr("Set-Cookie: JSESSIONID=abc123; Path=/\r\n"));
  EXPECT_EQ(Get(server.Base() + "grade").data, "grades");
  EXPECT_EQ(Get(server.Base() + "plan").data, "grades");

  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_THAT(requests[0], Not(HasSubstr("Cookie")));
  for (int i = 1; i < 3; ++i) {
    EXPECT_EQ(Count(requests[i], "\r\nCookie: JSESSIONID=abc123\r\n"), 1) << requests[i];
    EXPECT_EQ(Count(requests[i], "JSESSIONID"), 1) << requests[i];
  }
  EXPECT_EQ(client_.CookieLines().size(), 1u);
}

TEST_F(CurlExchange, CookieTransferFilesForTheWholeHostWithoutDuplicates) {
  // Without a Path the client's own handling files the cookie for the answer's folder (/sub);
  // the transfer files it for the whole host. /sub/x must still get the name once.
  RawHttpServer server([](const std::string& request) {
    if (request.starts_with("GET /sub/login")) {
      return Ok("in", "Set-Cookie: sid=one\r\nSet-Cookie: other=two; Path=/sub\r\n");
    }
    return Ok("page");
  });
  Get(server.Base() + "sub/login");
  Get(server.Base() + "elsewhere");
  Get(server.Base() + "sub/x");
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_THAT(requests[1], HasSubstr("\r\nCookie: sid=one\r\n"));
  EXPECT_EQ(Count(requests[2], "sid="), 1) << requests[2];
  EXPECT_EQ(Count(requests[2], "other="), 1) << requests[2];
  EXPECT_EQ(client_.CookieLines().size(), 2u);
}

TEST_F(CurlExchange, CookiesStayWithTheirHost) {
  RawHttpServer server([](const std::string& request) {
    if (request.starts_with("GET /login")) return Ok("in", "Set-Cookie: sid=s1; Path=/\r\n");
    return Ok("page");
  });
  const std::string port = std::to_string(server.Port());
  client_.StoreCookie("http://127.0.0.1", "stored", "yes");
  Get("http://127.0.0.1:" + port + "/login");
  Get("http://localhost:" + port + "/a");
  Get("http://127.0.0.1:" + port + "/b");
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_THAT(requests[0], HasSubstr("\r\nCookie: stored=yes\r\n"));
  EXPECT_THAT(requests[1], Not(HasSubstr("Cookie")));
  EXPECT_THAT(requests[2], HasSubstr("sid=s1"));
  EXPECT_THAT(requests[2], HasSubstr("stored=yes"));
}

TEST_F(CurlExchange, StoreCookieReadsTheAttributesOfTheData) {
  RawHttpServer server([](const std::string&) { return Ok("page"); });
  const std::string base = server.Base();
  client_.StoreCookie("http://127.0.0.1", "plain", "v1");
  client_.StoreCookie("http://127.0.0.1", "scoped", "v2; Path=/only");
  client_.StoreCookie("http://127.0.0.1", "gone", "v3; Max-Age=0");
  client_.StoreCookie("http://127.0.0.1", "old", "v4; expires=Thu, 01 Jan 1970 00:00:01 GMT");
  client_.StoreCookie("http://127.0.0.1", "later", "v5; expires=Fri, 01 Jan 2100 00:00:00 GMT");
  client_.StoreCookie("http://127.0.0.1", "", "nameless");
  client_.StoreCookie("http://127.0.0.1", "tab", "a\tb");
  Get(base + "x");
  Get(base + "only/y");
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  for (const char* sent : {"plain=v1", "later=v5"}) {
    EXPECT_THAT(requests[0], HasSubstr(sent));
    EXPECT_THAT(requests[1], HasSubstr(sent));
  }
  EXPECT_THAT(requests[0], Not(HasSubstr("scoped")));
  EXPECT_THAT(requests[1], HasSubstr("scoped=v2"));
  for (const char* never : {"gone", "old", "nameless", "tab"}) {
    EXPECT_THAT(requests[0] + requests[1], Not(HasSubstr(never)));
  }
  // A later store of a name replaces it; one with a past date removes it.
  client_.StoreCookie("http://127.0.0.1", "plain", "w1");
  client_.StoreCookie("http://127.0.0.1", "later", "x; Max-Age=-1");
  Get(base + "z");
  EXPECT_THAT(server.Requests()[2], HasSubstr("plain=w1"));
  EXPECT_THAT(server.Requests()[2], Not(HasSubstr("v1")));
  EXPECT_THAT(server.Requests()[2], Not(HasSubstr("later")));
}

TEST_F(CurlExchange, LongHeaderBlockLeavesSpacesButTheCookieIsStored) {
  const std::string padding = "X-Padding: " + std::string(1100, 'p') + "\r\n";
  RawHttpServer server([&](const std::string& request) {
    if (request.starts_with("GET /long")) return Ok("body", padding + "Set-Cookie: big=1\r\n");
    return Ok("next");
  });
  Text block;
  EXPECT_EQ(Get(server.Base() + "long", &block).data, "body");
  EXPECT_EQ(block, Text(1024, ' '));
  Get(server.Base() + "next");
  EXPECT_THAT(server.Requests()[1], HasSubstr("\r\nCookie: big=1\r\n"));
}

TEST_F(CurlExchange, HeaderBlockIsTheFinalAnswersWithCrLf) {
  RawHttpServer server([](const std::string&) {
    // Bare line feeds come back as CR LF; an interim answer is not part of the block.
    return Script{webtest::Send("HTTP/1.1 100 Continue\r\n\r\n"
                                "HTTP/1.1 200 OK\nContent-Length: 2\nX-A: b\n\nhi"),
                  webtest::CloseConnection()};
  });
  Text block;
  EXPECT_EQ(Get(server.Base(), &block).data, "hi");
  EXPECT_EQ(block, "HTTP/1.1 200 OK\r\nContent-Length: 2\r\nX-A: b\r\n\r\n");
}

TEST_F(CurlExchange, EmptyBodyIsEmptyNotTheFailureBody) {
  RawHttpServer server([](const std::string&) { return Ok(""); });
  Text block;
  const Bytes body = Get(server.Base(), &block);
  EXPECT_EQ(body, Bytes{});
  EXPECT_TRUE(block.starts_with("HTTP/1.1 200 OK\r\n")) << block;
}

TEST_F(CurlExchange, ErrorStatusStillGivesItsPage) {
  RawHttpServer server([](const std::string&) {
    return Answer("HTTP/1.1 500 Internal Server Error", "", "<h1>error</h1>");
  });
  EXPECT_EQ(FetchPage(server.Base(), "x"), "<h1>error</h1>");
}

TEST_F(CurlExchange, BodyIsReadWholeAndFetchStopsAtAZeroByte) {
  std::string big;
  for (int i = 0; i < 300000; ++i) big += static_cast<char>('a' + i % 26);
  RawHttpServer server([&](const std::string& request) {
    if (request.starts_with("GET /zero")) return Ok(std::string("before\0after", 12));
    if (request.starts_with("GET /chunked")) {
      return Script{webtest::Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                                  "3\r\nabc\r\n"),
                    webtest::Pause(50), webtest::Send("2\r\nde\r\n0\r\n\r\n"),
                    webtest::CloseConnection()};
    }
    return Ok(big);
  });
  EXPECT_EQ(Get(server.Base() + "big").data, big);
  EXPECT_EQ(Get(server.Base() + "zero").data, std::string("before\0after", 12));
  EXPECT_EQ(FetchPage(server.Base(), "zero"), "before");
  EXPECT_EQ(Get(server.Base() + "chunked").data, "abcde");
}

TEST_F(CurlExchange, FailuresGiveTheEmptyBody) {
  const struct {
    const char* what;
    Script script;
  } cases[] = {
      {"closed in the middle of the body",
       {webtest::Send("HTTP/1.1 200 OK\r\nContent-Length: 5000\r\nSet-Cookie: c=1\r\n\r\n" +
                      std::string(1000, 'x')),
        webtest::CloseConnection()}},
      {"closed in the middle of a chunked body",
       {webtest::Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nab"),
        webtest::CloseConnection()}},
      {"closed before answering", {webtest::CloseConnection()}},
      {"silent after the request", {webtest::Pause(3000)}},
      {"silent in the middle of the body",
       {webtest::Send("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nabc"), webtest::Pause(3000)}},
      {"not HTTP", {webtest::Send("SSH-2.0-OpenSSH\r\n\r\n"), webtest::CloseConnection()}},
  };
  ExchangeLimits limits;
  limits.stallTimeoutMs = 300;
  SetExchangeLimits(limits);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    RawHttpServer server([&](const std::string&) { return c.script; });
    Text block;
    const long long start = webtest::NowMs();
    EXPECT_EQ(Get(server.Base(), &block), Bytes{});
    EXPECT_LT(webtest::NowMs() - start, 2500);
    EXPECT_EQ(block, Text(1024, ' '));
  }
  EXPECT_EQ(client_.CookieLines().size(), 1u);  // the client's own handling kept c=1
}

TEST_F(CurlExchange, RefusedConnectionGivesTheEmptyBody) {
  const std::string url = "http://127.0.0.1:" + std::to_string(webtest::UnusedPort()) + "/x";
  Text block;
  EXPECT_EQ(Get(url, &block), Bytes{});
  EXPECT_EQ(block, Text(1024, ' '));
  EXPECT_EQ(FetchPage(url, ""), "");
}

TEST_F(CurlExchange, ConnectionThatIsNeverAcceptedTimesOut) {
  // A listener whose queue is full: the kernel drops further connection requests unanswered.
  webtest::FullListener listener;
  ExchangeLimits limits;
  limits.connectTimeoutMs = 300;
  SetExchangeLimits(limits);
  const long long start = webtest::NowMs();
  EXPECT_EQ(Get("http://127.0.0.1:" + std::to_string(listener.Port()) + "/"), Bytes{});
  const long long waited = webtest::NowMs() - start;
  EXPECT_GE(waited, 250);  // it waited: the connection was not refused
  EXPECT_LT(waited, 2500);
}

TEST_F(CurlExchange, BodyBeyondTheLimitGivesTheEmptyBody) {
  RawHttpServer server([](const std::string&) { return Ok(std::string(20000, 'b')); });
  ExchangeLimits limits;
  limits.maxBodyBytes = 10000;
  SetExchangeLimits(limits);
  EXPECT_EQ(Get(server.Base()), Bytes{});
  limits.maxBodyBytes = 20000;
  SetExchangeLimits(limits);
  EXPECT_EQ(Get(server.Base()).data.size(), 20000u);
}

TEST_F(CurlExchange, RedirectsAreFollowedAndTheRefererStaysWithTheServer) {
  RawHttpServer other([](const std::string&) { return Ok("other port"); });
  RawHttpServer server([&](const std::string& request) {
    if (request.starts_with("GET /loginAction.do")) {
      return Answer("HTTP/1.1 302 Found", "Location: /main.do\r\n", "moved");
    }
    if (request.starts_with("GET /away")) {
      return Answer("HTTP/1.1 301 Moved", "Location: " + other.Base() + "landing\r\n", "");
    }
    if (request.starts_with("GET /loop")) {
      return Answer("HTTP/1.1 302 Found", "Location: /loop\r\n", "");
    }
    return Ok("main page", "X-Final: yes\r\n");
  });
  const std::string login = server.Base() + "loginAction.do?zjh=2020123456&mm=secret";
  Text block;
  EXPECT_EQ(Get(login, &block).data, "main page");
  EXPECT_THAT(block, HasSubstr("X-Final: yes"));
  EXPECT_THAT(block, Not(HasSubstr("302")));
  ASSERT_EQ(server.Requests().size(), 2u);
  EXPECT_TRUE(server.Requests()[1].starts_with("GET /main.do HTTP/1.1\r\n"));
  EXPECT_THAT(server.Requests()[1], HasSubstr("\r\nReferer: " + login + "\r\n"));

  EXPECT_EQ(Get(server.Base() + "away?mm=secret").data, "other port");
  ASSERT_EQ(other.Requests().size(), 1u);
  EXPECT_TRUE(other.Requests()[0].starts_with("GET /landing HTTP/1.1\r\n"));
  EXPECT_THAT(other.Requests()[0], Not(HasSubstr("Referer")));
  EXPECT_THAT(other.Requests()[0], Not(HasSubstr("secret")));
  EXPECT_THAT(other.Requests()[0], HasSubstr(kAcceptLine));

  EXPECT_EQ(Get(server.Base() + "loop"), Bytes{});
}

TEST_F(CurlExchange, PumpRunsThroughoutASlowAnswer) {
  RawHttpServer server([](const std::string&) {
    return Script{webtest::Pause(300),
                  webtest::Send("HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\nab"),
                  webtest::Pause(300), webtest::Send("cd"), webtest::CloseConnection()};
  });
  int exchangePumps = 0;
  SetEventPump([&] { ++exchangePumps; });
  EXPECT_EQ(Get(server.Base()).data, "abcd");
  SetEventPump(nullptr);
  // Polls of at most 10 ms over 600 ms of waiting; the exchange's own pumps come before reads.
  EXPECT_GT(pumps_, 20);
  EXPECT_GE(exchangePumps, 3);
}

TEST_F(CurlExchange, AnotherExchangeMayRunInsideTheWait) {
  RawHttpServer slow([](const std::string&) {
    return Script{webtest::Pause(300),
                  webtest::Send("HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\nslow"),
                  webtest::CloseConnection()};
  });
  RawHttpServer quick([](const std::string&) { return Ok("quick", "Set-Cookie: inner=1\r\n"); });
  // The same client, as when a second login starts inside the first one's wait.
  bool inside = false;
  Bytes inner;
  std::unique_ptr<CurlHttpClient> client;
  client = std::make_unique<CurlHttpClient>([&] {
    if (inside) return;
    inside = true;
    Text headers;
    Text block;
    inner = HttpExchange(*client, quick.Base(), "", "", headers, "", block);
  });
  Text headers;
  Text block;
  EXPECT_EQ(HttpExchange(*client, slow.Base(), "", "", headers, "", block).data, "slow");
  EXPECT_EQ(inner.data, "quick");
}

TEST_F(CurlExchange, OtherMethodsSendNothing) {
  RawHttpServer server([](const std::string&) { return Ok("x"); });
  for (const char* method : {"PUT", "HEAD", "DELETE", "OPTIONS"}) {
    SCOPED_TRACE(method);
    Text headers;
    Text block = "old";
    EXPECT_EQ(HttpExchange(client_, server.Base(), method, "", headers, "body", block),
              Bytes{std::string(255, '\0')});
  }
  EXPECT_TRUE(server.Requests().empty());
}

TEST_F(CurlExchange, PostSendsTheBodyWithTheProgramsLinesOnly) {
  RawHttpServer server([](const std::string&) { return Ok("posted"); });
  const Text url = server.Base() + "form.do";
  const std::string large(1500000, 'q');
  Text headers;
  Text block;
  EXPECT_EQ(HttpExchange(client_, url, "POST", "", headers, large, block).data, "posted");
  Text headers2 = "Content-Length: 5\r\n";
  EXPECT_EQ(HttpExchange(client_, url, "POST", "", headers2, "a=1&b", block).data, "posted");
  Text headers3;
  EXPECT_EQ(HttpExchange(client_, url, "POST", "", headers3, "", block).data, "posted");

  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_TRUE(requests[0].starts_with("POST /form.do HTTP/1.1\r\n"));
  EXPECT_THAT(requests[0], HasSubstr("\r\nContent-Type: application/x-www-form-urlencoded\r\n"
                                     "Content-Length: 1500000\r\n\r\n"));
  EXPECT_EQ(Count(requests[0], "Content-Length"), 1);
  EXPECT_THAT(requests[0], Not(HasSubstr("Expect")));
  EXPECT_TRUE(requests[0].ends_with("\r\n\r\n" + large));
  // The caller's Content-Length and the exchange's own.
  EXPECT_EQ(Count(requests[1], "\r\nContent-Length: 5\r\n"), 2);
  EXPECT_TRUE(requests[1].ends_with("\r\n\r\na=1&b"));
  // Nothing of the exchange's own for an empty body.
  EXPECT_THAT(requests[2], Not(HasSubstr("Content-Type")));
  EXPECT_TRUE(requests[2].ends_with("Accept-Language: zh-cn\r\nContent-Length: 0\r\n\r\n") ||
              requests[2].ends_with("Accept-Language: zh-cn\r\n\r\n"))
      << requests[2];
}

TEST_F(CurlExchange, ProxyIsUsedOnlyWhenGiven) {
  RawHttpServer proxy([](const std::string&) { return Ok("via proxy"); });
  RawHttpServer server([](const std::string&) { return Ok("direct"); });
  // A proxy in the environment is not the program's choice.
  setenv("http_proxy", proxy.Base().c_str(), 1);
  setenv("HTTP_PROXY", proxy.Base().c_str(), 1);
  EXPECT_EQ(Get(server.Base() + "a").data, "direct");
  unsetenv("http_proxy");
  unsetenv("HTTP_PROXY");

  Text headers;
  Text block;
  const Text url = server.Base() + "b?x=1";
  EXPECT_EQ(HttpExchange(client_, url, "", HostOf(proxy), headers, "", block).data, "via proxy");
  ASSERT_EQ(proxy.Requests().size(), 1u);
  EXPECT_TRUE(proxy.Requests()[0].starts_with("GET " + url + " HTTP/1.1\r\n"))
      << proxy.Requests()[0];
  EXPECT_EQ(server.Requests().size(), 1u);
}

TEST_F(CurlExchange, HostsAndPortsNoServerCanHaveFailBeforeSending) {
  const Bytes failure{std::string(255, '\0')};
  for (const char* url : {"http://127.0.0.1:70000/", "http://127.0.0.1:-1/", "http:///x",
                          "http://user@127.0.0.1/", "http://a?b/"}) {
    SCOPED_TRACE(url);
    EXPECT_EQ(Get(url), failure);
  }
}

}  // namespace
}  // namespace web
