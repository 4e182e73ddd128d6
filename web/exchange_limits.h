// The limits after which an exchange gives up, so that a server that never answers, stalls or
// sends without end cannot hang or exhaust the program.
//
// (Plain milliseconds: <chrono> does not compile with the GBK execution character set, since
// GCC 12's C++20 <chrono> holds a literal "µs".)
#pragma once

#include <cstdint>

namespace web {

struct ExchangeLimits {
  // Until the connection to the server (and to each redirect's server) stands.
  int32_t connectTimeoutMs = 15000;
  // The longest silence once connected: no byte of the answer for this long ends the exchange.
  int32_t stallTimeoutMs = 30000;
  // A response body (or the header lines of the answers) longer than this ends it.
  int64_t maxBodyBytes = int64_t{64} * 1024 * 1024;
};

// The limits every later exchange uses; tests shorten them.
void SetExchangeLimits(const ExchangeLimits& limits);
ExchangeLimits CurrentExchangeLimits();

}  // namespace web
