#include "web/percent_encode.h"

namespace web {

namespace {
bool IsUnreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~';
}
}  // namespace

text::Text PercentEncode(const text::Text& value) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  text::Text encoded;
  encoded.reserve(value.size() * 3);
  for (const char byte : value) {
    const auto c = static_cast<unsigned char>(byte);
    if (IsUnreserved(c)) {
      encoded += byte;
    } else {
      encoded += '%';
      encoded += kHex[c >> 4];
      encoded += kHex[c & 0x0F];
    }
  }
  return encoded;
}

}  // namespace web
