#include "web/event_pump.h"

#include <utility>

namespace web {

namespace {
std::function<void()>& InstalledPump() {
  static std::function<void()> pump;
  return pump;
}
}  // namespace

void SetEventPump(std::function<void()> pump) {
  InstalledPump() = std::move(pump);
}

void PumpEvents() {
  // A copy, so that a routine run by the pump may install another pump meanwhile.
  const std::function<void()> pump = InstalledPump();
  if (pump) pump();
}

}  // namespace web
