#include "web/percent_encode.h"

#include <gtest/gtest.h>

namespace web {
namespace {

TEST(PercentEncode, KeepsUnreservedBytesAndEncodesAllOthers) {
  const struct {
    const char* value;
    const char* encoded;
  } cases[] = {
      {"", ""},
      {"2020123456", "2020123456"},
      {"AZaz09-._~", "AZaz09-._~"},
      {"a b&c#d+e%f", "a%20b%26c%23d%2Be%25f"},
      {"=?/:;", "%3D%3F%2F%3A%3B"},
      {"\r\n\t", "%0D%0A%09"},
      // GBK bytes, upper-case hex: 密 is C3 DC, 码 is C2 EB.
      {"密码", "%C3%DC%C2%EB"},
      {"\x7f\x80\xff", "%7F%80%FF"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(PercentEncode(c.value), c.encoded);
  }
}

}  // namespace
}  // namespace web
