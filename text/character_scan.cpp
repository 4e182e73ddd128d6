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

namespace {

bool IsLetter(char c) {
  return FoldCase(c) >= 'a' && FoldCase(c) <= 'z';
}

bool EqualsFolded(std::string_view a, std::string_view b) {
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  }
  return true;
}

}  // namespace

std::size_t MatchScanner::NextFolded(std::size_t from) const {
  const std::size_t n = text_.size();
  const std::size_t m = sought_.size();
  if (from >= n || n - from < m) return npos;
  std::size_t anchor = 0;
  while (anchor < m && IsLetter(sought_[anchor])) ++anchor;

  if (anchor == m) {
    // Letters only: compare at each character.
    for (std::size_t p = from; p < n && n - p >= m; p += CharacterLength(text_, p)) {
      if (EqualsFolded(text_.substr(p, m), sought_)) return p;
    }
    return npos;
  }
  // A byte that does not fold finds the candidates, as in the exact search.
  std::size_t boundary = from;
  for (std::size_t q = text_.find(sought_[anchor], from + anchor); q != npos && q - anchor + m <= n;
       q = text_.find(sought_[anchor], q + 1)) {
    const std::size_t p = q - anchor;
    if (!BeginsCharacter(text_, boundary, p)) {
      boundary = p + 1;
      continue;
    }
    boundary = p;
    if (EqualsFolded(text_.substr(p, m), sought_)) return p;
  }
  return npos;
}

}  // namespace text::scan
