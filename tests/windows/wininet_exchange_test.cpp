// The HTTP exchange through the WinINet client against a loopback server in the test process:
// the exact request bytes, the cookie carried from the login to the next page, redirects with
// the Referer kept at home, the limits, the failures, and the binding of wininet.dll by name.
#include "web/wininet_http_client.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "raw_http_server.h"
#include "web/event_pump.h"
#include "web/http_exchange.h"

namespace web {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;
using text::Bytes;
using text::Text;
using webtest::Answer;
using webtest::RawHttpServer;
using webtest::Script;

const std::string kAcceptLine =
    "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, "
    "application/x-shockwave-flash, application/vnd.ms-excel, application/vnd.ms-powerpoint, "
    "application/msword, */*\r\n";

Script Ok(const std::string& body, const std::string& headerLines = "") {
  return Answer("HTTP/1.1 200 OK", headerLines, body);
}

size_t Count(const std::string& haystack, const std::string& needle) {
  size_t count = 0;
  for (size_t at = haystack.find(needle); at != std::string::npos;
       at = haystack.find(needle, at + 1)) {
    ++count;
  }
  return count;
}

class WinInetExchange : public ::testing::Test {
 protected:
  void SetUp() override {
    SetEventPump([this] { ++pumps_; });
    SetExchangeLimits(ExchangeLimits{});
  }
  void TearDown() override {
    SetEventPump(nullptr);
    SetExchangeLimits(ExchangeLimits{});
  }
  Bytes Get(const std::string& url, Text* block = nullptr) {
    Text headers;
    Text responseHeaders;
    Bytes body = HttpExchange(client_, url, "", "", headers, "", responseHeaders);
    if (block != nullptr) *block = responseHeaders;
    return body;
  }

  WinInetHttpClient client_{[] {}};
  int pumps_ = 0;
};

TEST_F(WinInetExchange, GetSendsTheProgramsLinesAndReadsTheBody) {
  RawHttpServer server([](const std::string&) { return Ok("成绩页", "X-Answer: yes\r\n"); });
  const std::string url = server.Base() + "gradeLnAllAction.do?type=ln&oper=sxinfo&lnsxdm=001";
  Text block;
  EXPECT_EQ(Get(url, &block).data, "成绩页");
  EXPECT_THAT(block, StartsWith("HTTP/1.1 200 OK\r\n"));
  EXPECT_THAT(block, HasSubstr("X-Answer: yes\r\n"));
  EXPECT_GE(pumps_, 2);  // before each read

  ASSERT_EQ(server.Requests().size(), 1u);
  const std::string request = server.Requests()[0];
  EXPECT_THAT(request,
              StartsWith("GET /gradeLnAllAction.do?type=ln&oper=sxinfo&lnsxdm=001 HTTP/1.1\r\n"));
  EXPECT_THAT(request, HasSubstr("\r\n" + kAcceptLine + "Referer: " + url +
                                 "\r\nAccept-Language: zh-cn\r\n"));
  EXPECT_THAT(request,
              HasSubstr("\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)\r\n"));
  EXPECT_THAT(request, HasSubstr("\r\nHost: 127.0.0.1:" + std::to_string(server.Port())));
  EXPECT_EQ(Count(request, "Accept: "), 1u);
}

TEST_F(WinInetExchange, TheLoginCookieGoesWithTheNextPageOnce) {
  RawHttpServer server([](const std::string& request) {
    if (request.starts_with("GET /loginAction.do")) {
      return Ok("welcome", "Set-Cookie: JSESSIONID=abc=123; Path=/\r\n");
    }
    return Ok(request.find("JSESSIONID=abc=123") != std::string::npos ? "grades" : "login first");
  });
  EXPECT_EQ(Get(server.Base() + "loginAction.do?zjh=2020110101&mm=123456").data, "welcome");
  EXPECT_EQ(Get(server.Base() + "gradeLnAllAction.do").data, "grades");
  ASSERT_EQ(server.Requests().size(), 2u);
  EXPECT_THAT(server.Requests()[0], Not(HasSubstr("Cookie:")));
  EXPECT_EQ(Count(server.Requests()[1], "JSESSIONID="), 1u);
}

TEST_F(WinInetExchange, RedirectsAreFollowedAndTheRefererStaysWithTheServer) {
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
  EXPECT_THAT(server.Requests()[1], StartsWith("GET /main.do HTTP/1.1\r\n"));
  EXPECT_THAT(server.Requests()[1], HasSubstr("\r\nReferer: " + login + "\r\n"));

  EXPECT_EQ(Get(server.Base() + "away?mm=secret").data, "other port");
  ASSERT_EQ(other.Requests().size(), 1u);
  EXPECT_THAT(other.Requests()[0], StartsWith("GET /landing HTTP/1.1\r\n"));
  EXPECT_THAT(other.Requests()[0], Not(HasSubstr("Referer")));
  EXPECT_THAT(other.Requests()[0], Not(HasSubstr("secret")));
  EXPECT_THAT(other.Requests()[0], HasSubstr(kAcceptLine));

  EXPECT_EQ(Get(server.Base() + "loop"), Bytes{});
}

TEST_F(WinInetExchange, FailedExchangesGiveTheEmptyBody) {
  struct Case {
    const char* what;
    Script script;
  };
  const Case cases[] = {
      {"body cut short",
       {webtest::Send("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nabc"),
        webtest::CloseConnection()}},
      {"closed before an answer", {webtest::CloseConnection()}},
      {"silent beyond the limit",
       {webtest::Send("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nabc"), webtest::Pause(3000)}},
  };
  ExchangeLimits limits;
  limits.stallTimeoutMs = 700;
  SetExchangeLimits(limits);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RawHttpServer server([&](const std::string&) { return c.script; });
    const long long start = webtest::NowMs();
    Text block;
    EXPECT_EQ(Get(server.Base(), &block), Bytes{});
    EXPECT_EQ(block, Text(1024, ' '));
    EXPECT_LT(webtest::NowMs() - start, 2500);
  }
}

TEST_F(WinInetExchange, NoServerGivesTheEmptyBody) {
  int port = 0;
  {
    RawHttpServer closed([](const std::string&) { return Ok(""); });
    port = closed.Port();
  }
  EXPECT_EQ(Get("http://127.0.0.1:" + std::to_string(port) + "/"), Bytes{});
}

TEST_F(WinInetExchange, BodyBeyondTheLimitGivesTheEmptyBody) {
  RawHttpServer server([](const std::string&) { return Ok(std::string(20000, 'b')); });
  ExchangeLimits limits;
  limits.maxBodyBytes = 10000;
  SetExchangeLimits(limits);
  EXPECT_EQ(Get(server.Base()), Bytes{});
  limits.maxBodyBytes = 20000;
  SetExchangeLimits(limits);
  EXPECT_EQ(Get(server.Base()).data.size(), 20000u);
}

TEST_F(WinInetExchange, OtherMethodsSendNothingAndPostSendsItsBody) {
  RawHttpServer server([](const std::string&) { return Ok("posted"); });
  Text headers;
  Text block;
  EXPECT_EQ(HttpExchange(client_, server.Base(), "PUT", "", headers, "body", block),
            Bytes{std::string(255, '\0')});
  EXPECT_TRUE(server.Requests().empty());

  headers.clear();
  EXPECT_EQ(
      HttpExchange(client_, server.Base() + "form", "post", "", headers, "a=1&b=2", block).data,
      "posted");
  ASSERT_EQ(server.Requests().size(), 1u);
  EXPECT_THAT(server.Requests()[0], StartsWith("post /form HTTP/1.1\r\n"));
  EXPECT_THAT(server.Requests()[0],
              HasSubstr("\r\nContent-Type: application/x-www-form-urlencoded\r\n"));
  EXPECT_EQ(Count(server.Requests()[0], "Content-Length: 7\r\n"), 1u);
  EXPECT_TRUE(server.Requests()[0].ends_with("\r\n\r\na=1&b=2"));
}

using WinInetBindingDeathTest = ::testing::Test;

TEST_F(WinInetBindingDeathTest, AMissingLibraryOrFunctionStopsNamingBoth) {
  EXPECT_EXIT(BindWinInetFunctions("cx-no-such-library.dll"), ::testing::ExitedWithCode(-1),
              HasSubstr("cx-no-such-library.dll"));
  EXPECT_EXIT(BindWinInetFunctions("kernel32.dll"), ::testing::ExitedWithCode(-1),
              AllOf(HasSubstr("kernel32.dll"), HasSubstr("InternetOpenA")));
}

}  // namespace
}  // namespace web
