// The character-wise scan shared by the search, replace and split operations (internal to
// text/). A byte from 0x80 up begins a two-byte character with the byte after it; a scan that
// begins at some byte takes that byte as the beginning of a character.
#pragma once

#include <cstddef>
#include <string_view>

namespace text::scan {

inline bool IsHigh(char c) {
  return static_cast<unsigned char>(c) >= 0x80;
}

// The length of the character the scan meets at p: 2 for a high byte, else 1.
inline std::size_t CharacterLength(std::string_view text, std::size_t p) {
  return IsHigh(text[p]) ? 2 : 1;
}

inline char FoldCase(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether a scan that began at `from` meets the beginning of a character at q (from <= q).
// A byte below 0x80 always ends a character, so only the run of high bytes right before q
// decides: q begins a character when that run has even length. The run is cut at `from`, which
// bounds the cost by q - from.
bool BeginsCharacter(std::string_view text, std::size_t from, std::size_t q);

// Finds sought (not empty) at the beginnings of characters, comparing exactly or with A-Z/a-z
// folded on both sides. A high byte that is the last byte of the text ends the scan: no match
// begins there.
class MatchScanner {
 public:
  MatchScanner(std::string_view text, std::string_view sought, bool ignoreCase);

  // The first match at or after `from`, where the scan takes `from` as the beginning of a
  // character; npos when none. Successive calls with growing `from` cost linear time overall
  // (apart from the compares at each candidate).
  std::size_t Next(std::size_t from) const;

  static constexpr std::size_t npos = std::string_view::npos;

 private:
  std::size_t NextExact(std::size_t from) const;
  std::size_t NextFolded(std::size_t from) const;

  std::string_view text_;
  std::string_view sought_;
  bool ignoreCase_;
};

}  // namespace text::scan
