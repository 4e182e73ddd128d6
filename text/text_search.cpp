// The character-wise searches and the operations built on them: FindText, FindTextReverse,
// ReplaceSubtext and SplitText.
#include <algorithm>
#include <limits>

#include "text/character_scan.h"
#include "text/text.h"

namespace text {

using scan::MatchScanner;

int32_t FindText(const Text& text, const Text& sought, int32_t start, bool ignoreCase) {
  const std::size_t begin = start <= 1 ? 0 : static_cast<std::size_t>(start) - 1;
  if (begin >= text.size()) return -1;
  if (sought.empty()) return 1;
  const std::size_t found = MatchScanner(text, sought, ignoreCase).Next(begin);
  return found == MatchScanner::npos ? -1 : static_cast<int32_t>(found + 1);
}

int32_t FindTextReverse(const Text& text, const Text& sought, std::optional<int32_t> start,
                        bool ignoreCase) {
  std::size_t end = text.size();
  if (start.has_value()) {
    if (*start <= 1) return -1;
    end = std::min(end, static_cast<std::size_t>(*start) - 1);
  }
  if (end == 0) return -1;
  if (sought.empty()) return 1;
  // The range is scanned as a text of its own: a match must end inside it.
  const std::string_view range(text.data(), end);
  const MatchScanner scanner(range, sought, ignoreCase);
  std::size_t last = MatchScanner::npos;
  for (std::size_t found = scanner.Next(0); found != MatchScanner::npos;
       found = scanner.Next(found + scan::CharacterLength(range, found))) {
    last = found;
  }
  return last == MatchScanner::npos ? -1 : static_cast<int32_t>(last + 1);
}

Text ReplaceSubtext(const Text& text, const Text& sought, const Text& replacement, int32_t start,
                    int32_t count, bool caseSensitive) {
  if (text.empty() || sought.empty() || count == 0 ||
      (start > 0 && static_cast<std::size_t>(start) > text.size())) {
    return text;
  }
  const std::size_t n = text.size();
  const std::size_t m = sought.size();
  const std::size_t s = start <= 1 ? 0 : static_cast<std::size_t>(start) - 1;
  const MatchScanner scanner(text, sought, !caseSensitive);

  Text result;
  result.reserve(n);
  result.append(text, 0, s);
  std::size_t from = s;
  int64_t made = 0;
  while (count < 0 || made < count) {
    const std::size_t found = scanner.Next(from);
    if (found == MatchScanner::npos) break;
    result.append(text, from, found - from);
    result.append(replacement);
    from = found + m;
    ++made;
  }
  std::size_t end = n;
  if (count >= 0 && made == count) {
    // Enough replacements: the rest is copied as it is.
  } else if (m == 1 && from < n && scan::IsHigh(text[n - 1]) &&
             scan::BeginsCharacter(text, from, n - 1)) {
    // The scan reached a high last byte that has no partner: it is dropped. A tail shorter than
    // sought is never reached by the scan and stays.
    end = n - 1;
  }
  result.append(text, from, end - from);
  return result;
}

TextArray SplitText(const Text& text, const Text& delimiter, std::optional<int32_t> maxCount) {
  const std::size_t limit = maxCount.has_value() ? static_cast<std::size_t>(std::max(*maxCount, 0))
                                                 : std::numeric_limits<std::size_t>::max();
  TextArray items;
  if (text.empty() || limit == 0) return items;
  if (delimiter.empty()) {
    items.push_back(text);
    return items;
  }
  const MatchScanner scanner(text, delimiter, false);
  std::size_t itemStart = 0;
  while (items.size() < limit) {
    const std::size_t found = scanner.Next(itemStart);
    if (found == MatchScanner::npos) {
      if (itemStart < text.size()) items.push_back(text.substr(itemStart));
      break;
    }
    items.push_back(text.substr(itemStart, found - itemStart));
    itemStart = found + delimiter.size();
  }
  return items;
}

}  // namespace text
