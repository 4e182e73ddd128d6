#include "web/curl_http_client.h"

#include <curl/curl.h>

#include <time.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <map>
#include <string_view>
#include <utility>
#include <vector>

#include "web/url.h"

namespace web {

using text::Text;
namespace {

// Milliseconds on a clock that only moves forward.
int64_t NowMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return int64_t{now.tv_sec} * 1000 + now.tv_nsec / 1000000;
}

constexpr int kMaxRedirects = 10;
// The longest a wait goes without calling back to the event pump.
constexpr int kPollMilliseconds = 10;
constexpr long kDefaultHttpPort = 80;

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && EqualsNoCase(s.substr(0, prefix.size()), prefix);
}

bool HasControlByte(std::string_view s) {
  for (const char c : s) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) return true;
  }
  return false;
}

// A host name or address the URL can carry: letters, digits, ".", "-" and "_".
bool IsHostName(const Text& host) {
  if (host.empty()) return false;
  for (const char c : host) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '.' || c == '-' || c == '_';
    if (!ok) return false;
  }
  return true;
}

// The path as libcurl's URL parser takes it unchanged: the bytes a request line cannot carry
// (controls, space, DEL, bytes from 0x80 up) and "#" (which would start a fragment) go as %XX;
// everything else, "%" included, stays.
Text RequestTarget(const Text& path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  Text target;
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte >= 0x7F || c == '#') {
      target += '%';
      target += kHex[byte >> 4];
      target += kHex[byte & 0x0F];
    } else {
      target += c;
    }
  }
  return target;
}

// The header name of a header-list line: before its ":", or before the ";" of "Name;".
std::string_view HeaderName(std::string_view line) {
  size_t end = line.find(':');
  if (end == std::string_view::npos) end = line.find(';');
  if (end == std::string_view::npos) return {};
  return Trim(line.substr(0, end));
}

// The lines of a header text as libcurl's header list takes them: one per "\r\n"-ended line
// (and a rest without one); a line with an empty value is written "Name;", libcurl's form for
// sending a header with no value.
std::vector<Text> HeaderListLines(const Text& headers) {
  std::vector<Text> lines;
  size_t begin = 0;
  while (begin < headers.size()) {
    size_t end = headers.find("\r\n", begin);
    if (end == Text::npos) end = headers.size();
    Text line = headers.substr(begin, end - begin);
    begin = end + 2;
    if (line.empty()) continue;
    const size_t colon = line.find(':');
    if (colon != Text::npos && Trim(std::string_view(line).substr(colon + 1)).empty()) {
      line = line.substr(0, colon) + ";";
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

bool HasHeader(const std::vector<Text>& lines, std::string_view name) {
  for (const Text& line : lines) {
    if (EqualsNoCase(HeaderName(line), name)) return true;
  }
  return false;
}

int StatusOf(std::string_view statusLine) {
  const size_t space = statusLine.find(' ');
  if (space == std::string_view::npos) return 0;
  int status = 0;
  for (size_t i = space + 1; i < statusLine.size() && i < space + 4; ++i) {
    const char c = statusLine[i];
    if (c < '0' || c > '9') return 0;
    status = status * 10 + (c - '0');
  }
  return status;
}

bool IsRedirectStatus(int status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

struct Origin {
  Text host;
  long port = 0;
  bool operator==(const Origin&) const = default;
};

std::optional<Origin> OriginOf(const char* url) {
  CURLU* parsed = curl_url();
  if (parsed == nullptr) return std::nullopt;
  std::optional<Origin> origin;
  char* host = nullptr;
  char* port = nullptr;
  if (curl_url_set(parsed, CURLUPART_URL, url, 0) == CURLUE_OK &&
      curl_url_get(parsed, CURLUPART_HOST, &host, 0) == CURLUE_OK &&
      curl_url_get(parsed, CURLUPART_PORT, &port, CURLU_DEFAULT_PORT) == CURLUE_OK) {
    origin = Origin{text::ToLower(host), std::strtol(port, nullptr, 10)};
  }
  curl_free(host);
  curl_free(port);
  curl_url_cleanup(parsed);
  return origin;
}

// One line of a Netscape cookie file, cut into its seven fields.
struct CookieLine {
  Text domain;  // without the "#HttpOnly_" prefix and a leading "."
  bool tailmatch = false;
  Text name;
  bool ReachesHost(const Text& host) const {
    if (EqualsNoCase(domain, host)) return true;
    return tailmatch && host.size() > domain.size() &&
           EqualsNoCase(std::string_view(host).substr(host.size() - domain.size()), domain) &&
           host[host.size() - domain.size() - 1] == '.';
  }
};

std::optional<CookieLine> ParseCookieLine(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t begin = 0;
  for (;;) {
    const size_t tab = line.find('\t', begin);
    fields.push_back(line.substr(begin, tab == std::string_view::npos ? tab : tab - begin));
    if (tab == std::string_view::npos) break;
    begin = tab + 1;
  }
  if (fields.size() < 6) return std::nullopt;
  std::string_view domain = fields[0];
  if (domain.starts_with("#HttpOnly_")) domain.remove_prefix(10);
  if (domain.starts_with(".")) domain.remove_prefix(1);
  return CookieLine{Text(domain), EqualsNoCase(fields[1], "TRUE"), Text(fields[5])};
}

// The cookie a Set-Cookie value with attributes ("v; Path=/x; Max-Age=60") describes.
struct CookieData {
  Text value;
  Text path = "/";
  bool secure = false;
  bool httpOnly = false;
  bool expired = false;
  long long expires = 0;  // seconds since the epoch; 0 for a cookie of this process only
};

CookieData ParseCookieData(std::string_view data) {
  CookieData cookie;
  const size_t firstSemicolon = data.find(';');
  cookie.value = Text(Trim(data.substr(0, firstSemicolon)));
  std::optional<long long> maxAge;
  std::optional<long long> expires;
  size_t begin = firstSemicolon;
  while (begin != std::string_view::npos) {
    const size_t end = data.find(';', begin + 1);
    const std::string_view attribute =
        data.substr(begin + 1, end == std::string_view::npos ? end : end - begin - 1);
    begin = end;
    const size_t equals = attribute.find('=');
    const std::string_view key = Trim(attribute.substr(0, equals));
    const Text value(equals == std::string_view::npos ? std::string_view()
                                                      : Trim(attribute.substr(equals + 1)));
    if (EqualsNoCase(key, "path")) {
      if (value.starts_with("/")) cookie.path = value;
    } else if (EqualsNoCase(key, "secure")) {
      cookie.secure = true;
    } else if (EqualsNoCase(key, "httponly")) {
      cookie.httpOnly = true;
    } else if (EqualsNoCase(key, "max-age")) {
      char* rest = nullptr;
      const long long seconds = std::strtoll(value.c_str(), &rest, 10);
      if (!value.empty() && rest != nullptr && *rest == '\0') maxAge = seconds;
    } else if (EqualsNoCase(key, "expires")) {
      const time_t when = curl_getdate(value.c_str(), nullptr);
      if (when != -1) expires = when;
    }
  }
  const long long now = static_cast<long long>(std::time(nullptr));
  if (maxAge) {
    cookie.expired = *maxAge <= 0;
    cookie.expires = now + *maxAge;
  } else if (expires) {
    cookie.expired = *expires <= now;
    cookie.expires = *expires;
  }
  return cookie;
}

}  // namespace

struct CurlHttpClient::State {
  struct Client {
    Text agent;
    Text proxy;  // host[:port] of the HTTP proxy; empty for a direct connection
    ExchangeLimits limits;
  };
  struct Connection {
    Client client;
    Text host;
    long port = 0;
  };

  enum class Phase { kIdle, kRunning, kDone, kFailed };

  // One request: its easy handle, the multi handle that drives it, and what has arrived.
  struct Request {
    Connection connection;
    Text verb;
    Text path;
    long httpVersion = CURL_HTTP_VERSION_1_1;
    CURLM* multi = nullptr;
    CURL* easy = nullptr;
    curl_slist* headerList = nullptr;
    bool attached = false;

    std::vector<Text> headerLines;
    std::optional<Text> body;
    Phase phase = Phase::kIdle;
    int redirects = 0;

    // The hop in flight: the first request or a redirect.
    Text hopVerb;
    bool hopHasBody = false;
    Text block;
    int status = 0;
    bool locationSeen = false;
    bool redirectHop = false;
    int64_t hopBodyBytes = 0;
    int64_t headerBytes = 0;
    bool connected = false;
    int64_t lastByteMs = 0;

    std::optional<Text> finalBlock;  // set once the final answer's header block is complete
    std::string pending;             // body bytes not yet read
    size_t pendingRead = 0;

    ~Request() {
      if (attached) curl_multi_remove_handle(multi, easy);
      if (easy != nullptr) curl_easy_cleanup(easy);
      if (multi != nullptr) curl_multi_cleanup(multi);
      curl_slist_free_all(headerList);
    }
    const ExchangeLimits& Limits() const { return connection.client.limits; }
    bool HasPending() const { return pendingRead < pending.size(); }
  };

  std::function<void()> whileWaiting;
  CURLSH* share = nullptr;
  CURL* cookieHandle = nullptr;  // the easy handle through which the store is read and written
  HttpHandle lastHandle = kNoHandle;
  std::map<HttpHandle, Client> clients;
  std::map<HttpHandle, Connection> connections;
  std::map<HttpHandle, std::unique_ptr<Request>> requests;

  HttpHandle NewHandle() { return ++lastHandle; }

  Request* FindRequest(HttpHandle handle) {
    const auto it = requests.find(handle);
    return it == requests.end() ? nullptr : it->second.get();
  }

  static size_t OnHeader(char* data, size_t size, size_t count, void* user);
  static size_t OnBody(char* data, size_t size, size_t count, void* user);
  static int OnConnected(void* user, char*, char*, int, int);

  bool StartHop(Request& r, const char* url);
  void OnHopDone(Request& r, CURLcode result);
  void Drive(Request& r, const std::function<bool()>& enough);
};

size_t CurlHttpClient::State::OnHeader(char* data, size_t size, size_t count, void* user) {
  auto& r = *static_cast<Request*>(user);
  const size_t length = size * count;
  r.lastByteMs = NowMs();
  r.headerBytes += static_cast<int64_t>(length);
  if (r.headerBytes > r.Limits().maxBodyBytes) return 0;

  std::string_view line(data, length);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  if (line.starts_with("HTTP/")) {
    // A new answer: an interim one (1xx) before the final one, or a redirect's.
    r.block.assign(line);
    r.block += "\r\n";
    r.status = StatusOf(line);
    r.locationSeen = false;
    r.redirectHop = false;
  } else if (line.empty()) {
    r.block += "\r\n";
    if (r.status >= 200 && !r.finalBlock) {
      r.redirectHop = IsRedirectStatus(r.status) && r.locationSeen;
      if (!r.redirectHop) r.finalBlock = r.block;
    }
  } else {
    r.block.append(line);
    r.block += "\r\n";
    if (StartsWithNoCase(line, "location:") && !Trim(line.substr(9)).empty()) {
      r.locationSeen = true;
    }
  }
  return length;
}

size_t CurlHttpClient::State::OnBody(char* data, size_t size, size_t count, void* user) {
  auto& r = *static_cast<Request*>(user);
  const size_t length = size * count;
  r.lastByteMs = NowMs();
  r.hopBodyBytes += static_cast<int64_t>(length);
  if (r.hopBodyBytes > r.Limits().maxBodyBytes) return 0;
  // A redirect's own body is not part of the answer.
  if (r.finalBlock) r.pending.append(data, length);
  return length;
}

int CurlHttpClient::State::OnConnected(void* user, char*, char*, int, int) {
  auto& r = *static_cast<Request*>(user);
  r.connected = true;
  r.lastByteMs = NowMs();
  return CURL_PREREQFUNC_OK;
}

bool CurlHttpClient::State::StartHop(Request& r, const char* url) {
  if (r.attached) {
    curl_multi_remove_handle(r.multi, r.easy);
    r.attached = false;
  }
  const std::optional<Origin> origin = OriginOf(url);
  if (!origin) return false;
  const bool sameServer =
      *origin ==
      Origin{r.connection.host, r.connection.port == 0 ? kDefaultHttpPort : r.connection.port};

  // The program's lines exactly: libcurl adds Accept, Expect and, for a POST, Content-Type
  // unless the list names them, so an empty entry switches each off. The Referer, which carries
  // the login path, stays with the server the request was made to.
  curl_slist_free_all(r.headerList);
  r.headerList = nullptr;
  std::vector<Text> lines;
  for (const Text& line : r.headerLines) {
    if (!sameServer && EqualsNoCase(HeaderName(line), "referer")) continue;
    lines.push_back(line);
  }
  for (const char* name : {"Accept", "Expect", "Content-Type"}) {
    if (!HasHeader(lines, name)) lines.push_back(Text(name) + ":");
  }
  for (const Text& line : lines) {
    curl_slist* longer = curl_slist_append(r.headerList, line.c_str());
    if (longer == nullptr) return false;
    r.headerList = longer;
  }

  CURL* e = r.easy;
  curl_easy_setopt(e, CURLOPT_URL, url);
  curl_easy_setopt(e, CURLOPT_HTTPHEADER, r.headerList);
  const bool plainGet = r.hopVerb.empty() || r.hopVerb == "GET";
  if (r.hopHasBody) {
    curl_easy_setopt(e, CURLOPT_POST, 1L);
    curl_easy_setopt(e, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(r.body->size()));
    curl_easy_setopt(e, CURLOPT_POSTFIELDS, r.body->data());
  } else if (text::TextEquals(text::ToUpper(r.hopVerb), "POST")) {
    curl_easy_setopt(e, CURLOPT_POST, 1L);
    curl_easy_setopt(e, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(0));
    curl_easy_setopt(e, CURLOPT_POSTFIELDS, "");
  } else {
    curl_easy_setopt(e, CURLOPT_HTTPGET, 1L);
  }
  const bool namedVerb = plainGet || r.hopVerb == "POST";
  curl_easy_setopt(e, CURLOPT_CUSTOMREQUEST, namedVerb ? nullptr : r.hopVerb.c_str());

  r.block.clear();
  r.status = 0;
  r.locationSeen = false;
  r.redirectHop = false;
  r.hopBodyBytes = 0;
  r.connected = false;
  r.lastByteMs = NowMs();
  if (curl_multi_add_handle(r.multi, e) != CURLM_OK) return false;
  r.attached = true;
  r.phase = Phase::kRunning;
  return true;
}

void CurlHttpClient::State::OnHopDone(Request& r, CURLcode result) {
  if (result != CURLE_OK) {
    r.phase = Phase::kFailed;
    return;
  }
  if (!r.redirectHop) {
    r.phase = r.finalBlock ? Phase::kDone : Phase::kFailed;
    return;
  }
  char* next = nullptr;
  curl_easy_getinfo(r.easy, CURLINFO_REDIRECT_URL, &next);
  if (next == nullptr) {
    // A Location libcurl cannot follow: the redirect itself is the answer.
    r.finalBlock = r.block;
    r.phase = Phase::kDone;
    return;
  }
  if (++r.redirects > kMaxRedirects) {
    r.phase = Phase::kFailed;
    return;
  }
  // As browsers do: 303, and 301 or 302 after a POST, go on as a GET without the body.
  const bool post = text::TextEquals(text::ToUpper(r.hopVerb), "POST");
  if (r.status == 303 || (post && (r.status == 301 || r.status == 302))) {
    r.hopVerb = "GET";
    r.hopHasBody = false;
  }
  const Text url = next;  // next belongs to the easy handle and changes with its options
  if (!StartHop(r, url.c_str())) r.phase = Phase::kFailed;
}

void CurlHttpClient::State::Drive(Request& r, const std::function<bool()>& enough) {
  while (r.phase == Phase::kRunning && !enough()) {
    if (whileWaiting) whileWaiting();
    int running = 0;
    if (curl_multi_perform(r.multi, &running) != CURLM_OK) {
      r.phase = Phase::kFailed;
      break;
    }
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(r.multi, &left)) {
      if (message->msg == CURLMSG_DONE && message->easy_handle == r.easy) {
        OnHopDone(r, message->data.result);
        break;  // a new hop (or the end) makes the rest of the queue stale
      }
    }
    if (r.phase != Phase::kRunning || enough()) break;
    // The connect time-out is libcurl's own; silence once connected is measured here.
    if (r.connected && NowMs() - r.lastByteMs > r.Limits().stallTimeoutMs) {
      r.phase = Phase::kFailed;
      break;
    }
    int ready = 0;
    curl_multi_poll(r.multi, nullptr, 0, kPollMilliseconds, &ready);
  }
}

CurlHttpClient::CurlHttpClient(std::function<void()> whileWaiting)
    : state_(std::make_unique<State>()) {
  curl_global_init(CURL_GLOBAL_DEFAULT);
  state_->whileWaiting = std::move(whileWaiting);
  state_->share = curl_share_init();
  if (state_->share != nullptr) {
    curl_share_setopt(state_->share, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
  }
  state_->cookieHandle = curl_easy_init();
  if (state_->cookieHandle != nullptr) {
    curl_easy_setopt(state_->cookieHandle, CURLOPT_SHARE, state_->share);
    curl_easy_setopt(state_->cookieHandle, CURLOPT_COOKIEFILE, "");
  }
}

CurlHttpClient::~CurlHttpClient() {
  state_->requests.clear();
  if (state_->cookieHandle != nullptr) curl_easy_cleanup(state_->cookieHandle);
  if (state_->share != nullptr) curl_share_cleanup(state_->share);
  curl_global_cleanup();
}

HttpHandle CurlHttpClient::OpenClient(const Text& agent, const Text& proxyList,
                                      const ExchangeLimits& limits) {
  if (state_->share == nullptr || state_->cookieHandle == nullptr) return kNoHandle;
  Text proxy = proxyList;
  if (proxy.starts_with("http=")) proxy.erase(0, 5);
  if (!proxyList.empty() && proxy.empty()) return kNoHandle;
  const HttpHandle handle = state_->NewHandle();
  state_->clients[handle] = State::Client{agent, proxy, limits};
  return handle;
}

HttpHandle CurlHttpClient::Connect(HttpHandle client, const Text& host, int32_t port) {
  const auto it = state_->clients.find(client);
  if (it == state_->clients.end() || !IsHostName(host) || port < 0 || port > 65535) {
    return kNoHandle;
  }
  const HttpHandle handle = state_->NewHandle();
  state_->connections[handle] = State::Connection{it->second, text::ToLower(host), port};
  return handle;
}

HttpHandle CurlHttpClient::OpenRequest(HttpHandle connection, const Text& verb, const Text& path,
                                       const Text& version) {
  const auto it = state_->connections.find(connection);
  if (it == state_->connections.end() || HasControlByte(verb) || verb.find(' ') != Text::npos) {
    return kNoHandle;
  }
  auto request = std::make_unique<State::Request>();
  request->connection = it->second;
  request->verb = verb;
  request->path = path;
  if (version == "HTTP/1.0") request->httpVersion = CURL_HTTP_VERSION_1_0;
  request->multi = curl_multi_init();
  request->easy = curl_easy_init();
  if (request->multi == nullptr || request->easy == nullptr) return kNoHandle;

  const State::Client& client = request->connection.client;
  CURL* e = request->easy;
  State::Request* r = request.get();
  curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(e, CURLOPT_SHARE, state_->share);
  curl_easy_setopt(e, CURLOPT_COOKIEFILE, "");  // the cookie engine, in memory only
  curl_easy_setopt(e, CURLOPT_HTTP_VERSION, r->httpVersion);
  curl_easy_setopt(e, CURLOPT_USERAGENT, client.agent.c_str());
  // No proxy from the environment: an empty proxy means a direct connection, and no host is
  // exempted from a chosen one.
  curl_easy_setopt(e, CURLOPT_PROXY, client.proxy.c_str());
  curl_easy_setopt(e, CURLOPT_NOPROXY, "");
  if (!client.proxy.empty()) curl_easy_setopt(e, CURLOPT_PROXYTYPE, CURLPROXY_HTTP);
  curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(e, CURLOPT_PATH_AS_IS, 1L);
  // Redirects are followed here, hop by hop, so that each hop's header lines can be chosen.
  curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 0L);
  curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(client.limits.connectTimeoutMs));
  curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, &State::OnHeader);
  curl_easy_setopt(e, CURLOPT_HEADERDATA, r);
  curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &State::OnBody);
  curl_easy_setopt(e, CURLOPT_WRITEDATA, r);
  curl_easy_setopt(e, CURLOPT_PREREQFUNCTION, &State::OnConnected);
  curl_easy_setopt(e, CURLOPT_PREREQDATA, r);

  const HttpHandle handle = state_->NewHandle();
  state_->requests[handle] = std::move(request);
  return handle;
}

bool CurlHttpClient::SendRequest(HttpHandle request, const Text& headers, const Text* body) {
  State::Request* r = state_->FindRequest(request);
  if (r == nullptr || r->phase != State::Phase::kIdle) return false;
  r->headerLines = HeaderListLines(headers);
  if (body != nullptr) r->body = *body;
  r->hopVerb = r->verb;
  r->hopHasBody = body != nullptr;

  const State::Connection& c = r->connection;
  Text url = "http://" + c.host;
  if (c.port != 0) url += ":" + std::to_string(c.port);
  url += RequestTarget(r->path);
  if (!state_->StartHop(*r, url.c_str())) {
    r->phase = State::Phase::kFailed;
    return false;
  }
  state_->Drive(*r, [r] { return r->finalBlock.has_value(); });
  return r->finalBlock.has_value() && r->phase != State::Phase::kFailed;
}

int32_t CurlHttpClient::ReadRequest(HttpHandle request, char* buffer, int32_t size) {
  State::Request* r = state_->FindRequest(request);
  if (r == nullptr || size <= 0) return -1;
  state_->Drive(*r, [r] { return r->HasPending(); });
  if (r->HasPending()) {
    const size_t count = std::min(static_cast<size_t>(size), r->pending.size() - r->pendingRead);
    r->pending.copy(buffer, count, r->pendingRead);
    r->pendingRead += count;
    if (r->pendingRead == r->pending.size()) {
      r->pending.clear();
      r->pendingRead = 0;
    }
    return static_cast<int32_t>(count);
  }
  return r->phase == State::Phase::kDone ? 0 : -1;
}

std::optional<Text> CurlHttpClient::RawHeaders(HttpHandle request) {
  State::Request* r = state_->FindRequest(request);
  if (r == nullptr) return std::nullopt;
  return r->finalBlock;
}

void CurlHttpClient::Close(HttpHandle handle) {
  state_->requests.erase(handle);
  state_->connections.erase(handle);
  state_->clients.erase(handle);
}

void CurlHttpClient::StoreCookie(const Text& url, const Text& name, const Text& data) {
  const Text host = UrlHost(url, false);
  const Text cookieName(Trim(name));
  // libcurl keeps named cookies only; a tab or control byte cannot go into its cookie lines.
  if (state_->cookieHandle == nullptr || !IsHostName(host) || cookieName.empty() ||
      HasControlByte(cookieName) || HasControlByte(data)) {
    return;
  }
  const CookieData cookie = ParseCookieData(data);

  // One cookie per name for the host: drop the ones of this name it would get (the client's own
  // handling of the same answer has usually stored one), keep all others.
  const text::TextArray lines = CookieLines();
  bool replaces = false;
  for (const Text& line : lines) {
    const std::optional<CookieLine> parsed = ParseCookieLine(line);
    if (parsed && parsed->name == cookieName && parsed->ReachesHost(host)) replaces = true;
  }
  if (replaces) {
    curl_easy_setopt(state_->cookieHandle, CURLOPT_COOKIELIST, "ALL");
    for (const Text& line : lines) {
      const std::optional<CookieLine> parsed = ParseCookieLine(line);
      if (parsed && parsed->name == cookieName && parsed->ReachesHost(host)) continue;
      curl_easy_setopt(state_->cookieHandle, CURLOPT_COOKIELIST, line.c_str());
    }
  }
  if (cookie.expired) return;

  // A Netscape line names the host exactly, without subdomains; a Set-Cookie line without a
  // domain would be sent to every host.
  const Text line =
      text::JoinTexts(cookie.httpOnly ? "#HttpOnly_" : "", host, "\tFALSE\t", cookie.path,
                      cookie.secure ? "\tTRUE\t" : "\tFALSE\t", std::to_string(cookie.expires),
                      "\t", cookieName, "\t", cookie.value);
  curl_easy_setopt(state_->cookieHandle, CURLOPT_COOKIELIST, line.c_str());
}

text::TextArray CurlHttpClient::CookieLines() {
  text::TextArray lines;
  if (state_->cookieHandle == nullptr) return lines;
  curl_slist* list = nullptr;
  if (curl_easy_getinfo(state_->cookieHandle, CURLINFO_COOKIELIST, &list) != CURLE_OK) {
    return lines;
  }
  for (curl_slist* item = list; item != nullptr; item = item->next) lines.push_back(item->data);
  curl_slist_free_all(list);
  return lines;
}

}  // namespace web
