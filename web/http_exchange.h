// One complete HTTP request: the program's only contact with the network.
#pragma once

#include "text/text.h"
#include "web/http_client.h"

namespace web {

// The User-Agent of every request.
inline constexpr const char* kAgentText = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
// What an exchange yields when it fails before sending: 255 zero bytes.
inline constexpr int32_t kFailureBodyLength = 255;
inline constexpr int32_t kReadChunkSize = 2048;
inline constexpr int32_t kHeaderBufferSize = 1024;

// Sends url with method ("" or GET, POST; any other sends nothing and yields the failure body),
// directly or through the HTTP proxy (empty after removing spaces: direct), with the caller's
// header lines completed in place by the Accept, Referer and Accept-Language lines it lacks, and
// for POST the body. Reads the body in chunks of kReadChunkSize, calling PumpEvents before each
// read. responseHeaders gets the raw header block when it fits with a terminating zero in
// kHeaderBufferSize bytes, else kHeaderBufferSize spaces. Every handle is closed before it
// returns; then the answer's Set-Cookie lines go into the client's cookie store.
//
// The body is the result; it is empty when no answer came or when the exchange failed on the way
// (a broken connection, a time-out or a body over the limit of CurrentExchangeLimits()): a
// failed exchange gives no part of a body, no header block and no cookie transfer.
text::Bytes HttpExchange(const text::Text& url, const text::Text& method, const text::Text& proxy,
                         text::Text& headers, const text::Text& body, text::Text& responseHeaders);

// The same through a given client (tests drive a recording client through it).
text::Bytes HttpExchange(HttpClient& client, const text::Text& url, const text::Text& method,
                         const text::Text& proxy, text::Text& headers, const text::Text& body,
                         text::Text& responseHeaders);

// Adds the Accept, Referer (the full url) and Accept-Language lines, in this order, each only when
// its name ("Accept: ", ...) occurs nowhere in headers, any letter case.
void CompleteRequestHeaders(text::Text& headers, const text::Text& url);

// Hands every Set-Cookie line of a raw header block to the client's store for "http://" + host,
// calling PumpEvents after each line.
void CookieTransfer(HttpClient& client, const text::Text& headerBlock, const text::Text& host);

}  // namespace web
