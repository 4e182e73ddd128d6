// X11 carries window names as UTF-8 while the program's texts (and the tests' literals, compiled
// like the program's) are GBK.
#pragma once

#include <string>

namespace e2e {

// Throws HarnessError for bytes that are no GBK.
std::string Utf8FromGbk(const std::string& gbk);

}  // namespace e2e
