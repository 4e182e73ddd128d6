// The byte-wise operations: length, equality, cutting, and the conversions between texts,
// bytes and single characters.
#include "text/text.h"

#include <algorithm>
#include <cstddef>

namespace text {

namespace {

// Sizes above the 32-bit range never occur (bodies are capped far below); clamp rather than
// wrap so a length is never negative.
int32_t ClampedSize(std::size_t size) {
  return static_cast<int32_t>(std::min<std::size_t>(size, INT32_MAX));
}

}  // namespace

int32_t TextLength(const Text& text) {
  return ClampedSize(text.size());
}

bool TextEquals(const Text& a, const Text& b) {
  return a == b;
}

Text LeftText(const Text& text, int32_t n) {
  if (n <= 0) return {};
  return text.substr(0, static_cast<std::size_t>(n));
}

Text RightText(const Text& text, int32_t n) {
  if (n <= 0) return {};
  const std::size_t count = std::min(text.size(), static_cast<std::size_t>(n));
  return text.substr(text.size() - count);
}

Text MidText(const Text& text, int32_t start, int32_t n) {
  if (start < 1 || n <= 0 || static_cast<std::size_t>(start) > text.size()) return {};
  return text.substr(static_cast<std::size_t>(start) - 1, static_cast<std::size_t>(n));
}

Text ReplaceTextAt(const Text& text, int32_t start, int32_t n, const Text& replacement) {
  const int64_t length = static_cast<int64_t>(text.size());
  const int64_t s = std::clamp<int64_t>(static_cast<int64_t>(start) - 1, 0, length);
  const int64_t removed = std::max<int64_t>(std::min<int64_t>(n, length - s), 0);
  Text result;
  result.reserve(text.size() - static_cast<std::size_t>(removed) + replacement.size());
  result.append(text, 0, static_cast<std::size_t>(s));
  result.append(replacement);
  result.append(text, static_cast<std::size_t>(s + removed));
  return result;
}

Text CharFromCode(int32_t code) {
  // A text holds no zero byte; codes beyond a byte keep their low byte.
  const auto byte = static_cast<unsigned char>(code & 0xFF);
  if (byte == 0) return {};
  return Text(1, static_cast<char>(byte));
}

Text BlankText(int32_t n) {
  if (n <= 0) return {};
  return Text(static_cast<std::size_t>(n), ' ');
}

Bytes TextToBytes(const Text& text) {
  return Bytes{text};
}

Text BytesToText(const Bytes& bytes) {
  return bytes.data.substr(0, bytes.data.find('\0'));
}

Bytes BlankBytes(int32_t n) {
  if (n <= 0) return {};
  return Bytes{std::string(static_cast<std::size_t>(n), '\0')};
}

int32_t BytesLength(const Bytes& bytes) {
  return ClampedSize(bytes.data.size());
}

Bytes BytesLeft(const Bytes& bytes, int32_t n) {
  if (n <= 0) return {};
  return Bytes{bytes.data.substr(0, static_cast<std::size_t>(n))};
}

}  // namespace text
