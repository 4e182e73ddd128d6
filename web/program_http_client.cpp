#include "web/curl_http_client.h"
#include "web/event_pump.h"
#include "web/http_client.h"

namespace web {

HttpClient& ProgramHttpClient() {
  static CurlHttpClient client([] { PumpEvents(); });
  return client;
}

}  // namespace web
