// Encoding of the student number and password inside the login path, so that "&", "#", "+",
// "%", spaces and GBK characters reach the server as they were typed.
#pragma once

#include "text/text.h"

namespace web {

// Every byte but A-Z a-z 0-9 - . _ ~ becomes %XX (upper-case hex).
// PercentEncode("a b&c") == "a%20b%26c"; a GBK character becomes two %XX.
text::Text PercentEncode(const text::Text& value);

}  // namespace web
