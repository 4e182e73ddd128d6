#include "web/fetch.h"

#include "web/http_exchange.h"

namespace web {

text::Text FetchPage(const text::Text& serverBase, const text::Text& relativePath) {
  text::Text headers;
  text::Text responseHeaders;
  const text::Bytes body =
      HttpExchange(text::JoinTexts(serverBase, relativePath), "", "", headers, "", responseHeaders);
  return text::BytesToText(body);
}

}  // namespace web
