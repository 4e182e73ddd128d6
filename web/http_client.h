// The HTTP client that the exchange drives, cut to the operations the exchange needs, in the
// shape of a handle-based client library: a client handle (direct or through a proxy), a
// connection handle for a host and port, a request handle for a verb and a path; send, read the
// body in chunks, query the raw header block, close. Cookies live in one store for the whole
// process, shared by every handle, filled by the client's own handling of each answer and by
// StoreCookie. The exchange opens and closes every handle itself; an implementation keeps
// nothing of a closed handle.
#pragma once

#include <cstdint>
#include <optional>

#include "text/text.h"
#include "web/exchange_limits.h"

namespace web {

// An open client, connection or request; kNoHandle when an open failed.
using HttpHandle = uint64_t;
inline constexpr HttpHandle kNoHandle = 0;

class HttpClient {
 public:
  virtual ~HttpClient() = default;

  // A client handle. An empty proxyList connects directly, whatever proxy the system or the
  // environment names; otherwise it is "http=" followed by the proxy's host[:port]. agent is the
  // User-Agent of every request made through the handle; limits hold for each of them.
  virtual HttpHandle OpenClient(const text::Text& agent, const text::Text& proxyList,
                                const ExchangeLimits& limits) = 0;

  // A connection handle for host and port (0 means the default port 80). It needs not reach the
  // network yet; a port no server can have (below 0, above 65535) gives kNoHandle.
  virtual HttpHandle Connect(HttpHandle client, const text::Text& host, int32_t port) = 0;

  // A request handle: the verb (empty means GET) and the path go into the request line as they
  // stand, with the protocol version (such as "HTTP/1.1"). The answer never comes from a cache.
  virtual HttpHandle OpenRequest(HttpHandle connection, const text::Text& verb,
                                 const text::Text& path, const text::Text& version) = 0;

  // Sends the request and waits until the final answer begins. The header lines (each ending
  // "\r\n") are sent exactly as given; the client adds only Host, User-Agent, the Cookie line of
  // the cookies it holds for the host and path, and, with a body, Content-Length unless given.
  // body nullptr sends none. Redirects are followed (a bounded number); a redirect to another
  // host or port gets no Referer line, which may carry the login path. false when no answer
  // came: no connection, a time-out, a broken connection.
  virtual bool SendRequest(HttpHandle request, const text::Text& headers,
                           const text::Text* body) = 0;

  // The next up to size bytes of the final answer's body into buffer: their count; 0 at the end
  // of the body; -1 when the body cannot be read to its end (the connection broke or went silent
  // beyond the limit, the body grew beyond the limit). Waits until data, the end or a failure.
  virtual int32_t ReadRequest(HttpHandle request, char* buffer, int32_t size) = 0;

  // The raw header block of the final answer: the status line and the header lines, each ending
  // "\r\n", and the empty line that ends the block. nullopt when no answer came.
  virtual std::optional<text::Text> RawHeaders(HttpHandle request) = 0;

  // Closes a client, connection or request handle; kNoHandle or a closed handle does nothing.
  virtual void Close(HttpHandle handle) = 0;

  // Stores a cookie for the host of url ("http://" + host, no path, no port): the name, and the
  // data that follows "name=" in a Set-Cookie line, the value with its attributes
  // ("v; Path=/; Expires=..."). An empty name or data stands for an absent one. The cookie is
  // filed for that host only and replaces every cookie of the same name the host would get, so
  // that a request carries each name once.
  virtual void StoreCookie(const text::Text& url, const text::Text& name,
                           const text::Text& data) = 0;
};

// The client every exchange of the program goes through, created at first use and kept, with
// its cookie store, until the process ends. Its waits call PumpEvents.
HttpClient& ProgramHttpClient();

}  // namespace web
