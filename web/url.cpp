#include "web/url.h"

namespace web {

using text::FindText;
using text::Text;

namespace {
constexpr const char* kPrefix = "http://";
constexpr int32_t kPrefixLength = 7;
constexpr int32_t kDefaultPort = 80;
}  // namespace

Text UrlHost(const Text& url, bool keepPort) {
  int32_t start = 1;
  const int32_t prefix = FindText(url, kPrefix, 1, false);
  if (prefix != -1) start = prefix + kPrefixLength;

  const int32_t slash = FindText(url, "/", start, false);
  Text host = slash == -1 ? text::MidText(url, start, text::TextLength(url))
                          : text::MidText(url, start, slash - start);
  if (!keepPort) {
    const int32_t colon = FindText(host, ":", 1, false);
    if (colon != -1) host = text::LeftText(host, colon - 1);
  }
  return text::ToLower(host);
}

int32_t UrlPort(const Text& url) {
  const Text host = UrlHost(url, true);
  const int32_t colon = FindText(host, ":", 1, false);
  if (colon == -1) return kDefaultPort;
  return text::ToInteger(text::ToNumber(text::RightText(host, text::TextLength(host) - colon)));
}

Text UrlPath(const Text& url) {
  const Text host = UrlHost(url, false);
  const int32_t hostAt = FindText(url, host, 1, true);
  const int32_t slash = FindText(url, "/", hostAt, true);
  if (slash == -1) return "/";
  return text::RightText(url, text::TextLength(url) - slash + 1);
}

}  // namespace web
