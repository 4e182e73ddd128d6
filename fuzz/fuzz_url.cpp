// UrlHost (with and without the port), UrlPort and UrlPath on arbitrary text (the input up to
// its first zero byte).
//
// Checked: the path starts with "/" and is "/" or the URL's own end; the host is lower-case
// (no A-Z starts a character), holds no "/" as a character and, without the port, no ":"; the
// host without the port opens the host with it, which the lower-cased URL contains; a host
// without a ":" character has port 80.
#include "fuzz/fuzz_support.h"
#include "web/url.h"

namespace {

using text::Text;

void CheckHost(const Text& host, const Text& url) {
  fuzz::ForEachCharacter(host, [&](std::size_t i) {
    FUZZ_CHECK(!(host[i] >= 'A' && host[i] <= 'Z'),
               "host " + fuzz::Shown(host) + " of " + fuzz::Shown(url));
    FUZZ_CHECK(host[i] != '/', "host " + fuzz::Shown(host) + " of " + fuzz::Shown(url));
  });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const Text url = fuzz::InputTexts(data, size, 1)[0];

  const Text path = web::UrlPath(url);
  FUZZ_CHECK(!path.empty() && path[0] == '/', "path " + fuzz::Shown(path));
  FUZZ_CHECK(path == "/" || url.ends_with(path),
             "path " + fuzz::Shown(path) + " of " + fuzz::Shown(url));

  const Text hostAndPort = web::UrlHost(url, true);
  const Text host = web::UrlHost(url, false);
  CheckHost(hostAndPort, url);
  CheckHost(host, url);
  FUZZ_CHECK(!fuzz::HasCharacter(host, ':'), "host " + fuzz::Shown(host));
  FUZZ_CHECK(hostAndPort.starts_with(host),
             fuzz::Shown(host) + " does not open " + fuzz::Shown(hostAndPort));
  FUZZ_CHECK(text::ToLower(url).find(hostAndPort) != Text::npos,
             "host " + fuzz::Shown(hostAndPort) + " is not in " + fuzz::Shown(url));

  const int32_t port = web::UrlPort(url);
  if (host == hostAndPort) {
    FUZZ_CHECK(port == 80, "port " + std::to_string(port) + " of " + fuzz::Shown(url));
  }
  return 0;
}
