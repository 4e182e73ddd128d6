// The cookie pass of the HTTP exchange (CookieTransfer) over an arbitrary header block (the
// input up to its first zero byte), into a client that records what it is asked to store.
//
// Checked against the pass as defined, computed here on its own: when "Set-Cookie: " (any
// letter case) is nowhere in the block nothing is stored and nothing pumped; otherwise the
// events are pumped once per line, and each line holding the name stores, in line order, for
// "http://" + the host, the name before the first "=" of the line less its first 12 bytes and
// the data after it (no "=": no name, all of it as data).
#include <cstddef>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "web/event_pump.h"
#include "web/http_exchange.h"

namespace {

using text::Text;

const Text kHost = "127.0.0.1";
const Text kCookieHeaderName = "set-cookie: ";

struct Cookie {
  Text url, name, data;
  bool operator==(const Cookie&) const = default;
};

// Stores cookies and nothing else; the pass needs no other operation.
class CookieStore : public web::HttpClient {
 public:
  std::vector<Cookie> cookies;

  web::HttpHandle OpenClient(const Text&, const Text&, const web::ExchangeLimits&) override {
    return web::kNoHandle;
  }
  web::HttpHandle Connect(web::HttpHandle, const Text&, int32_t) override { return web::kNoHandle; }
  web::HttpHandle OpenRequest(web::HttpHandle, const Text&, const Text&, const Text&) override {
    return web::kNoHandle;
  }
  bool SendRequest(web::HttpHandle, const Text&, const Text*) override { return false; }
  int32_t ReadRequest(web::HttpHandle, char*, int32_t) override { return -1; }
  std::optional<Text> RawHeaders(web::HttpHandle) override { return std::nullopt; }
  void Close(web::HttpHandle) override {}
  void StoreCookie(const Text& url, const Text& name, const Text& data) override {
    cookies.push_back({url, name, data});
  }
};

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether the (ASCII, lower-case) header name starts a character of line, any letter case.
bool HoldsName(const Text& line) {
  bool found = false;
  fuzz::ForEachCharacter(line, [&](std::size_t i) {
    if (found || line.size() - i < kCookieHeaderName.size()) return;
    bool same = true;
    for (std::size_t k = 0; k < kCookieHeaderName.size() && same; ++k) {
      same = Lower(line[i + k]) == kCookieHeaderName[k];
    }
    found = same;
  });
  return found;
}

// Lines end at a line feed, less one carriage return before it; a rest after the last line feed
// is a line as it stands.
std::vector<Text> Lines(const Text& block) {
  std::vector<Text> lines;
  std::size_t begin = 0;
  while (begin < block.size()) {
    const std::size_t feed = block.find('\n', begin);
    if (feed == Text::npos) {
      lines.push_back(block.substr(begin));
      break;
    }
    const std::size_t end = feed > begin && block[feed - 1] == '\r' ? feed - 1 : feed;
    lines.push_back(block.substr(begin, end - begin));
    begin = feed + 1;
  }
  return lines;
}

Cookie CookieOf(const Text& line) {
  const Text cookie = line.size() > 12 ? line.substr(12) : Text();
  std::size_t equals = Text::npos;
  fuzz::ForEachCharacter(cookie, [&](std::size_t i) {
    if (equals == Text::npos && cookie[i] == '=') equals = i;
  });
  if (equals == Text::npos) return {"http://" + kHost, "", cookie};
  return {"http://" + kHost, cookie.substr(0, equals), cookie.substr(equals + 1)};
}

int pumps = 0;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  static const bool pumpInstalled = [] {
    web::SetEventPump([] { ++pumps; });
    return true;
  }();
  (void)pumpInstalled;

  const Text block = fuzz::InputTexts(data, size, 1)[0];
  CookieStore store;
  pumps = 0;
  web::CookieTransfer(store, block, kHost);

  const std::vector<Text> lines = Lines(block);
  std::vector<Cookie> expected;
  for (const Text& line : lines) {
    if (HoldsName(line)) expected.push_back(CookieOf(line));
  }
  const int expectedPumps = expected.empty() ? 0 : static_cast<int>(lines.size());

  FUZZ_CHECK(pumps == expectedPumps, std::to_string(pumps) + " pumps, expected " +
                                         std::to_string(expectedPumps) + " for " +
                                         fuzz::Shown(block));
  FUZZ_CHECK(store.cookies.size() == expected.size(),
             std::to_string(store.cookies.size()) + " cookies, expected " +
                 std::to_string(expected.size()) + " for " + fuzz::Shown(block));
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const Cookie& got = store.cookies[i];
    FUZZ_CHECK(got == expected[i], "cookie " + std::to_string(i + 1) + ": " + fuzz::Shown(got.url) +
                                       " " + fuzz::Shown(got.name) + " " + fuzz::Shown(got.data) +
                                       ", expected " + fuzz::Shown(expected[i].name) + " " +
                                       fuzz::Shown(expected[i].data));
  }
  return 0;
}
