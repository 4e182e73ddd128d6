// The event pump the exchanges call while they wait, so that the windows stay responsive and an
// event routine may run (and even start an exchange of its own) inside another one's wait.
#pragma once

#include <functional>

namespace web {

// Installs the pump; an empty function (the start-up state) makes PumpEvents do nothing.
void SetEventPump(std::function<void()> pump);

// Handles the pending window events through the installed pump, then returns.
void PumpEvents();

}  // namespace web
