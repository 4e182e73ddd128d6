// The POSIX time-zone calls of a portable test, spelt as the C runtime of Windows has them.
#pragma once

#include <stdlib.h>
#include <time.h>

#include <string>

inline int setenv(const char* name, const char* value, int /*overwrite*/) {
  return _putenv_s(name, value);
}
inline int unsetenv(const char* name) {
  return _putenv_s(name, "");
}
inline void tzset() {
  _tzset();
}
inline time_t timegm(struct tm* t) {
  return _mkgmtime(t);
}
