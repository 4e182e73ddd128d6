// The character-wise conversions: spaces removed, case changed, full-width forms narrowed.
#include "text/character_scan.h"
#include "text/text.h"

namespace text {

using scan::IsHigh;

namespace {

// Calls map(first, second) for each two-byte character and map(byte) for each one-byte one,
// both appending to out; a high last byte without partner is dropped.
template <typename Single, typename Pair>
Text MapCharacters(const Text& text, Single single, Pair pair) {
  Text out;
  out.reserve(text.size());
  const std::size_t n = text.size();
  std::size_t i = 0;
  while (i < n) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      single(out, c);
      ++i;
    } else {
      if (i + 1 == n) break;
      pair(out, c, static_cast<unsigned char>(text[i + 1]));
      i += 2;
    }
  }
  return out;
}

void AppendByte(Text& out, unsigned char c) {
  out.push_back(static_cast<char>(c));
}

void AppendPair(Text& out, unsigned char first, unsigned char second) {
  out.push_back(static_cast<char>(first));
  out.push_back(static_cast<char>(second));
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
      text,
      [](Text& out, unsigned char c) {
        if (c != ' ') AppendByte(out, c);
      },
      [](Text& out, unsigned char first, unsigned char second) {
        if (first != 0xA1 || second != 0xA1) AppendPair(out, first, second);
      });
}

Text ToUpper(const Text& text) {
  return ShiftLetters(text, 'a', 'A' - 'a');
}

Text ToLower(const Text& text) {
  return ShiftLetters(text, 'A', 'a' - 'A');
}

Text ToHalfWidth(const Text& text) {
  return MapCharacters(text, AppendByte, [](Text& out, unsigned char first, unsigned char second) {
    if (first == 0xA3 && second >= 0xA1 && second <= 0xFE) {
      AppendByte(out, static_cast<unsigned char>(second - 0x80));
    } else if (first == 0xA1 && second == 0xA1) {
      AppendByte(out, ' ');
    } else if (first == 0xA1 && second == 0xAB) {
      AppendByte(out, '~');
    } else if (first == 0xA1 && (second == 0xEE || second == 0xEF)) {
      AppendByte(out, '*');
    } else {
      AppendPair(out, first, second);
    }
  });
}

}  // namespace text
