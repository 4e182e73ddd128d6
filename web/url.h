// Cutting the three pieces the HTTP exchange needs out of a URL: host, port and path.
//
// Only three marks are known: the prefix "http://" (lower case only), the "/" that ends the host
// and the ":" that introduces a port. There is no general URL parsing, no escaping and no
// normalisation; the rules are exact for any text, and none of them fails.
#pragma once

#include <cstdint>

#include "text/text.h"

namespace web {

// The host, lower-cased: from the byte after the first "http://" (or from the first byte when
// there is none) up to the next "/" (or the end). Without keepPort everything from the first ":"
// on is dropped. UrlHost("http://Example.COM:8080/a", false) == "example.com";
// UrlHost("HTTP://x/", false) == "http" (the prefix is not recognised in capitals).
text::Text UrlHost(const text::Text& url, bool keepPort);

// The number after the first ":" of the host (truncated toward zero, not range-checked); 80 when
// the host has no ":"; 0 when the text after the ":" holds no number.
// UrlPort("http://h:8080/") == 8080; UrlPort("http://h:/") == 0; UrlPort("") == 80.
int32_t UrlPort(const text::Text& url);

// The path with its query: the URL from the first "/" at or after the host to its end, every
// byte unchanged; "/" when there is no such "/". UrlPath("http://h/a?b=C") == "/a?b=C";
// UrlPath("http://h") == "/"; UrlPath("http://h//x") == "//x".
text::Text UrlPath(const text::Text& url);

}  // namespace web
