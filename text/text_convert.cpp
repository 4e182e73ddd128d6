// The character-wise conversions: spaces removed, case changed, full-width forms narrowed.
#include "text/character_scan.h"
#include "text/text.h"

namespace text {

using scan::IsHigh;

namespace {

// Scans text character by character; single(out, c) handles a one-byte character and
// pair(out, first, second) a two-byte one, each writing at out and returning the new end (at
// most as many bytes as it was given). A high last byte without partner is dropped.
template <typename Single, typename Pair>
Text MapCharacters(const Text& text, Single single, Pair pair) {
  Text result(text.size(), '\0');
  const auto* in = reinterpret_cast<const unsigned char*>(text.data());
  const auto* const end = in + text.size();
  char* out = result.data();
  while (in != end) {
    if (*in < 0x80) {
      out = single(out, *in);
      ++in;
    } else {
      if (in + 1 == end) break;
      out = pair(out, in[0], in[1]);
      in += 2;
    }
  }
  result.resize(static_cast<std::size_t>(out - result.data()));
  return result;
}

char* PutByte(char* out, unsigned char c) {
  *out = static_cast<char>(c);
  return out + 1;
}

char* PutPair(char* out, unsigned char first, unsigned char second) {
  out[0] = static_cast<char>(first);
  out[1] = static_cast<char>(second);
  return out + 2;
}

// Changes the bytes from `from` to `from` + 25 by `shift`, skipping the second bytes of
// two-byte characters. A high last byte stays as it is.
Text ShiftLetters(const Text& text, char from, int shift) {
  Text result = text;
  const std::size_t n = result.size();
  for (std::size_t i = 0; i < n; i += IsHigh(result[i]) ? 2 : 1) {
    const char c = result[i];
    if (c >= from && c <= from + 25) result[i] = static_cast<char>(c + shift);
  }
  return result;
}

}  // namespace

Text RemoveAllSpaces(const Text& text) {
  return MapCharacters(
      text, [](char* out, unsigned char c) { return c == ' ' ? out : PutByte(out, c); },
      [](char* out, unsigned char first, unsigned char second) {
        return first == 0xA1 && second == 0xA1 ? out : PutPair(out, first, second);
      });
}

Text ToUpper(const Text& text) {
  return ShiftLetters(text, 'a', 'A' - 'a');
}

Text ToLower(const Text& text) {
  return ShiftLetters(text, 'A', 'a' - 'A');
}

Text ToHalfWidth(const Text& text) {
  return MapCharacters(text, PutByte, [](char* out, unsigned char first, unsigned char second) {
    if (first == 0xA3 && second >= 0xA1 && second <= 0xFE) {
      return PutByte(out, static_cast<unsigned char>(second - 0x80));
    }
    if (first == 0xA1 && second == 0xA1) return PutByte(out, ' ');
    if (first == 0xA1 && second == 0xAB) return PutByte(out, '~');
    if (first == 0xA1 && (second == 0xEE || second == 0xEF)) return PutByte(out, '*');
    return PutPair(out, first, second);
  });
}

}  // namespace text
