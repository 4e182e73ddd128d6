// The one door through which the program reads a page of the academic-affairs server.
#pragma once

#include <functional>

#include "text/text.h"
#include "web/event_pump.h"

namespace web {

// GET of serverBase + relativePath (joined unchanged) with the program's three header lines;
// the body up to its first zero byte; the empty text on every failure.
text::Text FetchPage(const text::Text& serverBase, const text::Text& relativePath);

// SetEventPump (web/event_pump.h): the event pump every exchange calls during its waits; the
// program installs the shell's.

}  // namespace web
