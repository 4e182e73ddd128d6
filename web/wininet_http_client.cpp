#include "web/wininet_http_client.h"

#include <windows.h>
#include <wininet.h>

#include <cstdlib>
#include <string_view>
#include <utility>
#include <vector>

#include "web/url.h"

namespace web {

using text::Text;

struct WinInetFunctions {
  decltype(&::InternetOpenA) internetOpen = nullptr;
  decltype(&::InternetConnectA) internetConnect = nullptr;
  decltype(&::HttpOpenRequestA) httpOpenRequest = nullptr;
  decltype(&::HttpSendRequestA) httpSendRequest = nullptr;
  decltype(&::InternetReadFile) internetReadFile = nullptr;
  decltype(&::HttpQueryInfoA) httpQueryInfo = nullptr;
  decltype(&::InternetCloseHandle) internetCloseHandle = nullptr;
  decltype(&::InternetSetCookieA) internetSetCookie = nullptr;
  decltype(&::InternetSetOptionA) internetSetOption = nullptr;
};

namespace {

// StopWithError's code for a platform library the program cannot do without.
constexpr int32_t kMissingLibraryCode = 53;

template <typename Function>
void Bind(HMODULE module, const char* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  if (function == nullptr) {
    text::StopWithError(kMissingLibraryCode,
                        text::JoinTexts("在 ", library, " 中找不到函数 ", name));
  }
}

constexpr int kMaxRedirects = 10;

bool IsHostName(const Text& host) {
  if (host.empty()) return false;
  for (const char c : host) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '.' || c == '-' || c == '_';
    if (!ok) return false;
  }
  return true;
}

bool HasControlByte(std::string_view s) {
  for (const char c : s) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) return true;
  }
  return false;
}

bool IsRedirectStatus(DWORD status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// The header lines without those whose name is name (any letter case).
Text WithoutHeader(const Text& headers, std::string_view name) {
  Text kept;
  size_t begin = 0;
  while (begin < headers.size()) {
    size_t end = headers.find("\r\n", begin);
    end = end == Text::npos ? headers.size() : end + 2;
    const std::string_view line = std::string_view(headers).substr(begin, end - begin);
    const size_t colon = line.find(':');
    const bool named = colon != std::string_view::npos &&
                       text::TextEquals(text::ToLower(Text(line.substr(0, colon))), Text(name));
    if (!named) kept.append(line);
    begin = end;
  }
  return kept;
}

// Where a Location leads: scheme, host, port and path. Relative ones resolve against the current
// server and path, as browsers do.
struct Target {
  bool secure = false;
  Text host;
  INTERNET_PORT port = INTERNET_DEFAULT_HTTP_PORT;
  Text path;
  bool SameServer(const Target& other) const {
    return secure == other.secure && port == other.port &&
           text::TextEquals(text::ToLower(host), text::ToLower(other.host));
  }
};

std::optional<Target> Resolve(const Target& from, const Text& location) {
  Target to = from;
  std::string_view rest = location;
  const auto startsWithNoCase = [](std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() &&
           text::TextEquals(text::ToLower(Text(s.substr(0, prefix.size()))), Text(prefix));
  };
  if (startsWithNoCase(rest, "http://") || startsWithNoCase(rest, "https://")) {
    to.secure = startsWithNoCase(rest, "https://");
    rest.remove_prefix(to.secure ? 8 : 7);
    const size_t slash = rest.find_first_of("/?");
    std::string_view authority = rest.substr(0, slash);
    rest = slash == std::string_view::npos ? std::string_view("/") : rest.substr(slash);
    to.port = to.secure ? INTERNET_DEFAULT_HTTPS_PORT : INTERNET_DEFAULT_HTTP_PORT;
    const size_t colon = authority.find(':');
    if (colon != std::string_view::npos) {
      const Text digits(authority.substr(colon + 1));
      char* end = nullptr;
      const long port = std::strtol(digits.c_str(), &end, 10);
      if (digits.empty() || *end != '\0' || port <= 0 || port > 65535) return std::nullopt;
      to.port = static_cast<INTERNET_PORT>(port);
      authority = authority.substr(0, colon);
    }
    to.host = Text(authority);
    if (!IsHostName(to.host)) return std::nullopt;
    to.path = rest.empty() || rest.front() != '/' ? "/" + Text(rest) : Text(rest);
  } else if (rest.starts_with("//")) {
    return Resolve(from, (from.secure ? "https:" : "http:") + location);
  } else if (rest.starts_with("/")) {
    to.path = Text(rest);
  } else {
    const size_t query = from.path.find('?');
    const Text base = from.path.substr(0, query);
    to.path = base.substr(0, base.rfind('/') + 1) + Text(rest);
  }
  if (HasControlByte(to.path)) return std::nullopt;
  return to;
}

}  // namespace

const WinInetFunctions& BindWinInetFunctions(const char* library) {
  static std::vector<std::pair<Text, std::unique_ptr<WinInetFunctions>>> bound;
  for (const auto& [name, functions] : bound) {
    if (name == library) return *functions;
  }
  const HMODULE module = LoadLibraryA(library);
  if (module == nullptr) {
    text::StopWithError(kMissingLibraryCode,
                        text::JoinTexts("无法载入 ", library, "，找不到函数 InternetOpenA"));
  }
  auto functions = std::make_unique<WinInetFunctions>();
  Bind(module, library, "InternetOpenA", functions->internetOpen);
  Bind(module, library, "InternetConnectA", functions->internetConnect);
  Bind(module, library, "HttpOpenRequestA", functions->httpOpenRequest);
  Bind(module, library, "HttpSendRequestA", functions->httpSendRequest);
  Bind(module, library, "InternetReadFile", functions->internetReadFile);
  Bind(module, library, "HttpQueryInfoA", functions->httpQueryInfo);
  Bind(module, library, "InternetCloseHandle", functions->internetCloseHandle);
  Bind(module, library, "InternetSetCookieA", functions->internetSetCookie);
  Bind(module, library, "InternetSetOptionA", functions->internetSetOption);
  bound.emplace_back(library, std::move(functions));
  return *bound.back().second;
}

struct WinInetHttpClient::State {
  struct Client {
    HINTERNET internet = nullptr;
    ExchangeLimits limits;
  };
  struct Connection {
    HINTERNET internet = nullptr;
    HttpHandle client = kNoHandle;
    Text host;
    INTERNET_PORT port = INTERNET_DEFAULT_HTTP_PORT;
  };
  struct Request {
    HttpHandle connection = kNoHandle;
    Text verb;
    Text version;
    Target target;
    HINTERNET internet = nullptr;       // the request of the hop in flight
    HINTERNET hopConnection = nullptr;  // a redirect's own connection to another server
    bool answered = false;
    int64_t bodyBytes = 0;
    std::optional<uint64_t> contentLength;
    bool failed = false;
  };

  std::function<void()> whileWaiting;
  const WinInetFunctions* api = nullptr;
  HttpHandle lastHandle = kNoHandle;
  std::map<HttpHandle, Client> clients;
  std::map<HttpHandle, Connection> connections;
  std::map<HttpHandle, Request> requests;

  const WinInetFunctions& Api() {
    if (api == nullptr) api = &BindWinInetFunctions("wininet.dll");
    return *api;
  }
  HttpHandle NewHandle() { return ++lastHandle; }

  HINTERNET OpenHop(Request& r, HINTERNET connection, const Text& verb) {
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_AUTO_REDIRECT;
    if (r.target.secure) flags |= INTERNET_FLAG_SECURE;
    HINTERNET request =
        Api().httpOpenRequest(connection, verb.empty() ? nullptr : verb.c_str(),
                              r.target.path.c_str(), r.version.c_str(), nullptr, nullptr, flags, 0);
    // The client handle's time-outs again on the request: not every WinINet passes them down.
    if (request != nullptr) {
      SetTimeOuts(request, clients.at(connections.at(r.connection).client).limits);
    }
    return request;
  }

  void SetTimeOuts(HINTERNET handle, const ExchangeLimits& limits) {
    DWORD connectMs = static_cast<DWORD>(limits.connectTimeoutMs);
    DWORD stallMs = static_cast<DWORD>(limits.stallTimeoutMs);
    Api().internetSetOption(handle, INTERNET_OPTION_CONNECT_TIMEOUT, &connectMs, sizeof connectMs);
    Api().internetSetOption(handle, INTERNET_OPTION_RECEIVE_TIMEOUT, &stallMs, sizeof stallMs);
    Api().internetSetOption(handle, INTERNET_OPTION_SEND_TIMEOUT, &stallMs, sizeof stallMs);
  }

  std::optional<DWORD> NumberInfo(HINTERNET request, DWORD query) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (!Api().httpQueryInfo(request, query | HTTP_QUERY_FLAG_NUMBER, &value, &size, nullptr)) {
      return std::nullopt;
    }
    return value;
  }

  std::optional<Text> TextInfo(HINTERNET request, DWORD query) {
    std::string buffer(1024, '\0');
    for (int attempt = 0; attempt < 8; ++attempt) {
      DWORD size = static_cast<DWORD>(buffer.size());
      if (Api().httpQueryInfo(request, query, buffer.data(), &size, nullptr)) {
        buffer.resize(size);
        return buffer;
      }
      if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return std::nullopt;
      buffer.assign(static_cast<size_t>(size) + 1, '\0');
    }
    return std::nullopt;
  }

  void CloseHop(Request& r) {
    if (r.internet != nullptr) Api().internetCloseHandle(r.internet);
    if (r.hopConnection != nullptr) Api().internetCloseHandle(r.hopConnection);
    r.internet = nullptr;
    r.hopConnection = nullptr;
  }

  // Drains the rest of a redirect's body so its connection can be reused.
  void Discard(Request& r) {
    char buffer[2048];
    DWORD count = 0;
    int64_t total = 0;
    const int64_t limit = clients.at(connections.at(r.connection).client).limits.maxBodyBytes;
    while (Api().internetReadFile(r.internet, buffer, sizeof buffer, &count) && count > 0) {
      total += count;
      if (total > limit) break;
    }
  }
};

WinInetHttpClient::WinInetHttpClient(std::function<void()> whileWaiting)
    : state_(std::make_unique<State>()) {
  state_->whileWaiting = std::move(whileWaiting);
}

WinInetHttpClient::~WinInetHttpClient() {
  std::vector<HttpHandle> open;
  for (const auto& [handle, request] : state_->requests) open.push_back(handle);
  for (const auto& [handle, connection] : state_->connections) open.push_back(handle);
  for (const auto& [handle, client] : state_->clients) open.push_back(handle);
  for (const HttpHandle handle : open) Close(handle);
}

HttpHandle WinInetHttpClient::OpenClient(const Text& agent, const Text& proxyList,
                                         const ExchangeLimits& limits) {
  const WinInetFunctions& api = state_->Api();
  const bool direct = proxyList.empty();
  HINTERNET internet =
      api.internetOpen(agent.c_str(), direct ? INTERNET_OPEN_TYPE_DIRECT : INTERNET_OPEN_TYPE_PROXY,
                       direct ? nullptr : proxyList.c_str(), nullptr, 0);
  if (internet == nullptr) return kNoHandle;
  // Every connection and request made through the handle inherits these.
  state_->SetTimeOuts(internet, limits);
  const HttpHandle handle = state_->NewHandle();
  state_->clients[handle] = State::Client{internet, limits};
  return handle;
}

HttpHandle WinInetHttpClient::Connect(HttpHandle client, const Text& host, int32_t port) {
  const auto it = state_->clients.find(client);
  if (it == state_->clients.end() || !IsHostName(host) || port < 0 || port > 65535) {
    return kNoHandle;
  }
  const INTERNET_PORT internetPort =
      port == 0 ? INTERNET_DEFAULT_HTTP_PORT : static_cast<INTERNET_PORT>(port);
  HINTERNET internet = state_->Api().internetConnect(
      it->second.internet, host.c_str(), internetPort, "", "", INTERNET_SERVICE_HTTP, 0, 0);
  if (internet == nullptr) return kNoHandle;
  const HttpHandle handle = state_->NewHandle();
  state_->connections[handle] = State::Connection{internet, client, host, internetPort};
  return handle;
}

HttpHandle WinInetHttpClient::OpenRequest(HttpHandle connection, const Text& verb, const Text& path,
                                          const Text& version) {
  const auto it = state_->connections.find(connection);
  if (it == state_->connections.end() || HasControlByte(verb) || verb.find(' ') != Text::npos ||
      HasControlByte(path)) {
    return kNoHandle;
  }
  State::Request request;
  request.connection = connection;
  request.verb = verb;
  request.version = version;
  request.target = Target{false, it->second.host, it->second.port, path};
  request.internet = state_->OpenHop(request, it->second.internet, verb);
  if (request.internet == nullptr) return kNoHandle;
  const HttpHandle handle = state_->NewHandle();
  state_->requests[handle] = std::move(request);
  return handle;
}

bool WinInetHttpClient::SendRequest(HttpHandle request, const Text& headers, const Text* body) {
  const auto found = state_->requests.find(request);
  if (found == state_->requests.end() || found->second.answered || found->second.failed) {
    return false;
  }
  State::Request& r = found->second;
  const WinInetFunctions& api = state_->Api();
  Text verb = r.verb;
  Text hopHeaders = headers;
  Text hopBody = body == nullptr ? Text() : *body;
  bool hasBody = body != nullptr;
  const Target origin = r.target;

  for (int hop = 0;; ++hop) {
    if (!api.httpSendRequest(r.internet, hopHeaders.empty() ? nullptr : hopHeaders.data(),
                             static_cast<DWORD>(hopHeaders.size()),
                             hasBody ? hopBody.data() : nullptr,
                             hasBody ? static_cast<DWORD>(hopBody.size()) : 0)) {
      r.failed = true;
      return false;
    }
    // A connection closed before any status line is no answer (WinINet would read it as an
    // HTTP/0.9 one without headers).
    const std::optional<Text> head = state_->TextInfo(r.internet, HTTP_QUERY_RAW_HEADERS_CRLF);
    if (!head || !head->starts_with("HTTP/")) {
      r.failed = true;
      return false;
    }
    const std::optional<DWORD> status = state_->NumberInfo(r.internet, HTTP_QUERY_STATUS_CODE);
    const std::optional<Text> location = status && IsRedirectStatus(*status)
                                             ? state_->TextInfo(r.internet, HTTP_QUERY_LOCATION)
                                             : std::nullopt;
    const std::optional<Target> next =
        location && !location->empty() ? Resolve(r.target, *location) : std::nullopt;
    if (!next) break;  // the final answer (a Location that leads nowhere is one too)
    if (hop == kMaxRedirects) {
      r.failed = true;
      return false;
    }

    // As browsers do: 303, and 301 or 302 after a POST, go on as a GET without the body.
    const bool post = text::TextEquals(text::ToUpper(verb), "POST");
    if (*status == 303 || (post && (*status == 301 || *status == 302))) {
      verb = "GET";
      hasBody = false;
      hopBody.clear();
      hopHeaders = WithoutHeader(WithoutHeader(hopHeaders, "content-length"), "content-type");
    }
    // The Referer, which carries the login path, stays with the server the request was made to.
    if (!next->SameServer(origin)) hopHeaders = WithoutHeader(hopHeaders, "referer");

    state_->Discard(r);
    const State::Connection& first = state_->connections.at(r.connection);
    const Target current = r.target;
    r.target = *next;
    HINTERNET connection = first.internet;
    HINTERNET ownConnection = nullptr;
    if (!(next->host == first.host && next->port == first.port && !next->secure)) {
      ownConnection =
          api.internetConnect(state_->clients.at(first.client).internet, next->host.c_str(),
                              next->port, "", "", INTERNET_SERVICE_HTTP, 0, 0);
      connection = ownConnection;
    }
    state_->CloseHop(r);
    r.hopConnection = ownConnection;
    r.internet = connection == nullptr ? nullptr : state_->OpenHop(r, connection, verb);
    if (r.internet == nullptr) {
      r.target = current;
      r.failed = true;
      return false;
    }
    if (state_->whileWaiting) state_->whileWaiting();
  }

  r.answered = true;
  if (const std::optional<Text> length = state_->TextInfo(r.internet, HTTP_QUERY_CONTENT_LENGTH)) {
    char* end = nullptr;
    const unsigned long long value = std::strtoull(length->c_str(), &end, 10);
    if (!length->empty() && *end == '\0') r.contentLength = value;
  }
  return true;
}

int32_t WinInetHttpClient::ReadRequest(HttpHandle request, char* buffer, int32_t size) {
  const auto found = state_->requests.find(request);
  if (found == state_->requests.end() || size <= 0) return -1;
  State::Request& r = found->second;
  if (!r.answered || r.failed) return -1;
  DWORD count = 0;
  if (!state_->Api().internetReadFile(r.internet, buffer, static_cast<DWORD>(size), &count)) {
    r.failed = true;  // a time-out or a broken connection
    return -1;
  }
  r.bodyBytes += count;
  const ExchangeLimits& limits =
      state_->clients.at(state_->connections.at(r.connection).client).limits;
  if (r.bodyBytes > limits.maxBodyBytes) {
    r.failed = true;
    return -1;
  }
  // WinINet reports the end of a body cut short like the end of a whole one.
  if (count == 0 && r.contentLength && static_cast<uint64_t>(r.bodyBytes) < *r.contentLength) {
    r.failed = true;
    return -1;
  }
  return static_cast<int32_t>(count);
}

std::optional<Text> WinInetHttpClient::RawHeaders(HttpHandle request) {
  const auto found = state_->requests.find(request);
  if (found == state_->requests.end() || !found->second.answered) return std::nullopt;
  return state_->TextInfo(found->second.internet, HTTP_QUERY_RAW_HEADERS_CRLF);
}

void WinInetHttpClient::Close(HttpHandle handle) {
  if (const auto r = state_->requests.find(handle); r != state_->requests.end()) {
    state_->CloseHop(r->second);
    state_->requests.erase(r);
  } else if (const auto c = state_->connections.find(handle); c != state_->connections.end()) {
    state_->Api().internetCloseHandle(c->second.internet);
    state_->connections.erase(c);
  } else if (const auto s = state_->clients.find(handle); s != state_->clients.end()) {
    state_->Api().internetCloseHandle(s->second.internet);
    state_->clients.erase(s);
  }
}

void WinInetHttpClient::StoreCookie(const Text& url, const Text& name, const Text& data) {
  state_->Api().internetSetCookie(url.c_str(), name.empty() ? nullptr : name.c_str(),
                                  data.empty() ? nullptr : data.c_str());
}

}  // namespace web
