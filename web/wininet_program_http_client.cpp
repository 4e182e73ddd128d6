#include "web/event_pump.h"
#include "web/http_client.h"
#include "web/wininet_http_client.h"

namespace web {

HttpClient& ProgramHttpClient() {
  static WinInetHttpClient client([] { PumpEvents(); });
  return client;
}

}  // namespace web
