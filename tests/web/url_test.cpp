#include "web/url.h"

#include <gtest/gtest.h>

namespace web {
namespace {

struct UrlCase {
  const char* url;
  const char* host;
  const char* hostWithPort;
  int32_t port;
  const char* path;
};

// Each URL taken apart by all three operations.
const UrlCase kUrlCases[] = {
    {"http://127.0.0.1:8936/loginAction.do?zjh=1&mm=2", "127.0.0.1", "127.0.0.1:8936", 8936,
     "/loginAction.do?zjh=1&mm=2"},
    {"http://Jwc.Example.EDU/Grade.do?A=B", "jwc.example.edu", "jwc.example.edu", 80,
     "/Grade.do?A=B"},
    {"http://host:8080", "host", "host:8080", 8080, "/"},
    {"http://host", "host", "host", 80, "/"},
    {"host/a/b", "host", "host", 80, "/a/b"},
    {"host", "host", "host", 80, "/"},
    {"", "", "", 80, "/"},
    {"http://host:/x", "host", "host:", 0, "/x"},
    {"http://host:abc/x", "host", "host:abc", 0, "/x"},
    {"http://host:80:90/x", "host", "host:80:90", 80, "/x"},
    {"http://host:8080.9/x", "host", "host:8080.9", 8080, "/x"},
    {"http://w:１２/x", "w", "w:１２", 12, "/x"},
    // The prefix counts in lower case only: in capitals the host is cut inside it.
    {"HTTP://Host/x", "http", "http:", 0, "//Host/x"},
    // Joined with a relative path that itself begins with "/".
    {"http://127.0.0.1:8936//gradeLnAllAction.do", "127.0.0.1", "127.0.0.1:8936", 8936,
     "//gradeLnAllAction.do"},
    // An empty host is found at the first byte, so the path starts at the first "/" of all.
    {"http:///x", "", "", 80, "///x"},
    {"http://", "", "", 80, "//"},
    // The prefix is found wherever it first stands.
    {"xhttp://a/b", "a", "a", 80, "/b"},
    // The path keeps every byte: case, GBK, "..".
    {"http://w/成绩/../A b", "w", "w", 80, "/成绩/../A b"},
};

TEST(Url, TakesEachUrlApart) {
  for (const UrlCase& c : kUrlCases) {
    SCOPED_TRACE(c.url);
    EXPECT_EQ(UrlHost(c.url, false), c.host);
    EXPECT_EQ(UrlHost(c.url, true), c.hostWithPort);
    EXPECT_EQ(UrlPort(c.url), c.port);
    EXPECT_EQ(UrlPath(c.url), c.path);
  }
}

TEST(Url, PathSearchFindsTheLowerCasedHostInAnyCase) {
  // The host "ab" is searched ignoring case; the "/" after it ends the host.
  EXPECT_EQ(UrlPath("http://AB/x/AB/y"), "/x/AB/y");
  // A host text that occurs before its own place (inside the prefix): the first match counts.
  EXPECT_EQ(UrlPath("http://tp/a"), "//tp/a");
  EXPECT_EQ(UrlPath("http://h:8/x"), "//h:8/x");
}

}  // namespace
}  // namespace web
