#include "web/exchange_limits.h"

namespace web {

namespace {
ExchangeLimits& Limits() {
  static ExchangeLimits limits;
  return limits;
}
}  // namespace

void SetExchangeLimits(const ExchangeLimits& limits) {
  Limits() = limits;
}

ExchangeLimits CurrentExchangeLimits() {
  return Limits();
}

}  // namespace web
