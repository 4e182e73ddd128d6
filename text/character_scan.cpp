#include "text/character_scan.h"

namespace text::scan {

bool BeginsCharacter(std::string_view text, std::size_t from, std::size_t q) {
  std::size_t runStart = q;
  while (runStart > from && IsHigh(text[runStart - 1])) --runStart;
  return (q - runStart) % 2 == 0;
}

MatchScanner::MatchScanner(std::string_view text, std::string_view sought, bool ignoreCase)
    : text_(text), sought_(sought), ignoreCase_(ignoreCase) {}

std::size_t MatchScanner::Next(std::size_t from) const {
  const std::size_t found = ignoreCase_ ? NextFolded(from) : NextExact(from);
  if (found != npos && found + 1 == text_.size() && IsHigh(text_[found])) return npos;
  return found;
}

// Lets the library's byte search find candidates and keeps those at character beginnings.
std::size_t MatchScanner::NextExact(std::size_t from) const {
  std::size_t boundary = from;  // a known beginning of a character at or before q
  std::size_t q = from;
  while ((q = text_.find(sought_, q)) != npos) {
    if (BeginsCharacter(text_, boundary, q)) return q;
    // q is the second byte of a character, so the next one begins right after it.
    boundary = q + 1;
    q = q + 1;
  }
  return npos;
}

std::size_t MatchScanner::NextFolded(std::size_t from) const {
  const std::size_t n = text_.size();
  const std::size_t m = sought_.size();
  const char first = FoldCase(sought_[0]);
  for (std::size_t p = from; p < n && n - p >= m; p += CharacterLength(text_, p)) {
    if (FoldCase(text_[p]) != first) continue;
    std::size_t i = 1;
    while (i < m && FoldCase(text_[p + i]) == FoldCase(sought_[i])) ++i;
    if (i == m) return p;
  }
  return npos;
}

}  // namespace text::scan
