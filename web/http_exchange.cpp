#include "web/http_exchange.h"

#include <array>

#include "web/event_pump.h"
#include "web/url.h"

namespace web {

using text::FindText;
using text::JoinTexts;
using text::Text;

namespace {

constexpr const char* kAcceptLine =
    "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, "
    "application/x-shockwave-flash, application/vnd.ms-excel, application/vnd.ms-powerpoint, "
    "application/msword, */*\r\n";
constexpr const char* kAcceptLanguageLine = "Accept-Language: zh-cn\r\n";
constexpr const char* kContentTypeLine = "Content-Type: application/x-www-form-urlencoded\r\n";
constexpr const char* kCookieHeaderName = "Set-Cookie: ";
constexpr int32_t kCookieHeaderNameLength = 12;

text::Bytes FailureBody() {
  return text::BlankBytes(kFailureBodyLength);
}

// The lines of a header block: each ends at a line feed (not part of it) less one carriage
// return before it; a rest after the last line feed is a line too.
text::TextArray HeaderLines(const Text& block) {
  text::TextArray lines;
  Text::size_type begin = 0;
  while (begin < block.size()) {
    Text::size_type end = block.find('\n', begin);
    const bool lastLine = end == Text::npos;
    if (lastLine) end = block.size();
    Text line = block.substr(begin, end - begin);
    if (!lastLine && !line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    begin = end + 1;
  }
  return lines;
}

}  // namespace

void CompleteRequestHeaders(Text& headers, const Text& url) {
  if (FindText(headers, "Accept: ", 1, true) == -1) headers = JoinTexts(headers, kAcceptLine);
  if (FindText(headers, "Referer: ", 1, true) == -1) {
    headers = JoinTexts(headers, "Referer: ", url, "\r\n");
  }
  if (FindText(headers, "Accept-Language: ", 1, true) == -1) {
    headers = JoinTexts(headers, kAcceptLanguageLine);
  }
}

void CookieTransfer(HttpClient& client, const Text& headerBlock, const Text& host) {
  if (FindText(headerBlock, kCookieHeaderName, 1, true) == -1) return;
  const Text cookieUrl = JoinTexts("http://", host);
  for (const Text& line : HeaderLines(headerBlock)) {
    if (FindText(line, kCookieHeaderName, 1, true) != -1) {
      const Text cookie = text::ReplaceTextAt(line, 1, kCookieHeaderNameLength);
      const int32_t equals = FindText(cookie, "=", 1, false);
      const Text name = text::LeftText(cookie, equals - 1);
      const Text data = text::RightText(cookie, text::TextLength(cookie) - equals);
      client.StoreCookie(cookieUrl, name, data);
    }
    PumpEvents();
  }
}

text::Bytes HttpExchange(HttpClient& client, const Text& url, const Text& method, const Text& proxy,
                         Text& headers, const Text& body, Text& responseHeaders) {
  const Text path = UrlPath(url);
  const Text host = UrlHost(url, false);

  const Text proxyList = text::RemoveAllSpaces(proxy).empty() ? Text() : JoinTexts("http=", proxy);
  const HttpHandle session = client.OpenClient(kAgentText, proxyList, CurrentExchangeLimits());
  if (session == kNoHandle) return FailureBody();

  const HttpHandle connection = client.Connect(session, host, UrlPort(url));
  if (connection == kNoHandle) {
    client.Close(session);
    return FailureBody();
  }

  const HttpHandle request = client.OpenRequest(connection, method, path, "HTTP/1.1");
  if (request == kNoHandle) {
    client.Close(connection);
    client.Close(session);
    return FailureBody();
  }

  CompleteRequestHeaders(headers, url);

  const Text verb = text::ToUpper(method);
  bool answered = false;
  if (method.empty() || text::TextEquals(verb, "GET")) {
    answered = client.SendRequest(request, headers, nullptr);
  } else if (text::TextEquals(verb, "POST")) {
    if (!body.empty()) {
      if (FindText(headers, "Content-Type: ", 1, true) == -1) {
        headers = JoinTexts(headers, kContentTypeLine);
      }
      headers = JoinTexts(headers, "Content-Length: ", text::NumberToText(text::TextLength(body)),
                          "\r\n");
    }
    answered = client.SendRequest(request, headers, body.empty() ? nullptr : &body);
  } else {
    client.Close(connection);
    client.Close(session);
    client.Close(request);
    return FailureBody();
  }

  // A failed send leaves nothing to read; the first read then reports the failure.
  bool failed = !answered;
  text::Bytes bodyBuffer;
  std::array<char, kReadChunkSize> chunk{};
  for (;;) {
    PumpEvents();
    const int32_t count = client.ReadRequest(request, chunk.data(), kReadChunkSize);
    if (count < 0) failed = true;
    if (count <= 0) break;
    bodyBuffer.data.append(chunk.data(), static_cast<size_t>(count));
  }

  responseHeaders = text::BlankText(kHeaderBufferSize);
  if (!failed) {
    // The block counts as read only when it fits with its terminating zero; the text stops at the
    // first zero byte in it, as a zero-terminated buffer would.
    const std::optional<Text> block = client.RawHeaders(request);
    if (block && text::TextLength(*block) < kHeaderBufferSize) {
      responseHeaders = text::BytesToText(text::Bytes{*block});
    }
  }

  client.Close(request);
  client.Close(connection);
  client.Close(session);

  if (failed) return text::Bytes{};
  CookieTransfer(client, responseHeaders, host);
  return bodyBuffer;
}

text::Bytes HttpExchange(const Text& url, const Text& method, const Text& proxy, Text& headers,
                         const Text& body, Text& responseHeaders) {
  return HttpExchange(ProgramHttpClient(), url, method, proxy, headers, body, responseHeaders);
}

}  // namespace web
