// The searches compared with a plain, position-by-position reading of their definitions over
// many short random texts from a small alphabet (letters of both cases, high bytes that pair
// up in every way, spaces, a low second-byte candidate), so every boundary situation occurs.
#include <gtest/gtest.h>

#include <random>

#include "text/text.h"

namespace text {
namespace {

bool High(char c) {
  return static_cast<unsigned char>(c) >= 0x80;
}

char Fold(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

bool MatchesAt(const Text& range, std::size_t p, const Text& sought, bool ignoreCase) {
  for (std::size_t i = 0; i < sought.size(); ++i) {
    const char a = range[p + i], b = sought[i];
    if (ignoreCase ? Fold(a) != Fold(b) : a != b) return false;
  }
  return true;
}

// All match positions (0-based) of the forward character scan of range from byte `begin`.
std::vector<std::size_t> ScanMatches(const Text& range, std::size_t begin, const Text& sought,
                                     bool ignoreCase) {
  std::vector<std::size_t> found;
  std::size_t p = begin;
  while (range.size() - p >= sought.size() && p < range.size()) {
    if (p + 1 == range.size() && High(range[p])) break;  // lone high last byte
    if (MatchesAt(range, p, sought, ignoreCase)) found.push_back(p);
    p += High(range[p]) ? 2 : 1;
  }
  return found;
}

int32_t ReferenceFind(const Text& text, const Text& sought, int32_t start, bool ignoreCase) {
  const std::size_t begin = start <= 1 ? 0 : static_cast<std::size_t>(start - 1);
  if (begin >= text.size()) return -1;
  if (sought.empty()) return 1;
  const auto found = ScanMatches(text, begin, sought, ignoreCase);
  return found.empty() ? -1 : static_cast<int32_t>(found.front() + 1);
}

int32_t ReferenceFindReverse(const Text& text, const Text& sought, std::optional<int32_t> start,
                             bool ignoreCase) {
  Text range = text;
  if (start) {
    if (*start <= 1) return -1;
    range = text.substr(0, static_cast<std::size_t>(*start - 1));
  }
  if (range.empty()) return -1;
  if (sought.empty()) return 1;
  const auto found = ScanMatches(range, 0, sought, ignoreCase);
  return found.empty() ? -1 : static_cast<int32_t>(found.back() + 1);
}

Text ReferenceReplace(const Text& text, const Text& sought, const Text& replacement, int32_t start,
                      int32_t count, bool caseSensitive) {
  if (text.empty() || sought.empty() || start > static_cast<int32_t>(text.size()) || count == 0) {
    return text;
  }
  const std::size_t s = start <= 1 ? 0 : static_cast<std::size_t>(start - 1);
  Text out = text.substr(0, s);
  std::size_t p = s;
  int32_t made = 0;
  while (p < text.size()) {
    if (count > 0 && made == count) {
      out += text.substr(p);
      break;
    }
    if (text.size() - p < sought.size()) {
      out += text.substr(p);
      break;
    }
    if (p + 1 == text.size() && High(text[p])) break;  // dropped
    if (MatchesAt(text, p, sought, !caseSensitive)) {
      out += replacement;
      p += sought.size();
      ++made;
    } else {
      const std::size_t step = High(text[p]) ? 2 : 1;
      out += text.substr(p, step);
      p += step;
    }
  }
  return out;
}

TextArray ReferenceSplit(const Text& text, const Text& delimiter, int32_t maxCount) {
  TextArray items;
  if (text.empty() || maxCount <= 0) return items;
  if (delimiter.empty()) return {text};
  std::size_t itemStart = 0, p = 0;
  while (true) {
    if (text.size() - p < delimiter.size() || p >= text.size() ||
        (p + 1 == text.size() && High(text[p]))) {
      if (itemStart < text.size() && static_cast<int32_t>(items.size()) < maxCount) {
        items.push_back(text.substr(itemStart));
      }
      return items;
    }
    if (MatchesAt(text, p, delimiter, false)) {
      items.push_back(text.substr(itemStart, p - itemStart));
      if (static_cast<int32_t>(items.size()) == maxCount) return items;
      p += delimiter.size();
      itemStart = p;
    } else {
      p += High(text[p]) ? 2 : 1;
    }
  }
}

class ScanReference : public ::testing::Test {
 protected:
  Text RandomText(std::size_t maxLength) {
    static const char kAlphabet[] = {'a', 'A', 'b', 'B', ' ', '-', '@', '\xB0', '\xA1', '\xC1'};
    Text t(rng_() % (maxLength + 1), ' ');
    for (char& c : t) c = kAlphabet[rng_() % sizeof kAlphabet];
    return t;
  }

  int32_t RandomStart(const Text& t) { return static_cast<int32_t>(rng_() % (t.size() + 4)) - 1; }

  std::mt19937 rng_{7};
};

TEST_F(ScanReference, FindTextAndFindTextReverse) {
  for (int i = 0; i < 100000; ++i) {
    const Text text = RandomText(14), sought = RandomText(3);
    const int32_t start = RandomStart(text);
    const bool ignoreCase = rng_() % 2 == 0;
    ASSERT_EQ(FindText(text, sought, start, ignoreCase),
              ReferenceFind(text, sought, start, ignoreCase))
        << "text \"" << text << "\" sought \"" << sought << "\" start " << start;
    const std::optional<int32_t> reverseStart =
        rng_() % 3 == 0 ? std::nullopt : std::optional<int32_t>(start);
    ASSERT_EQ(FindTextReverse(text, sought, reverseStart, ignoreCase),
              ReferenceFindReverse(text, sought, reverseStart, ignoreCase))
        << "text \"" << text << "\" sought \"" << sought << "\" start "
        << reverseStart.value_or(-999);
  }
}

TEST_F(ScanReference, ReplaceSubtext) {
  for (int i = 0; i < 100000; ++i) {
    const Text text = RandomText(14), sought = RandomText(3), replacement = RandomText(2);
    const int32_t start = RandomStart(text);
    const int32_t count = static_cast<int32_t>(rng_() % 5) - 1;
    const bool caseSensitive = rng_() % 2 == 0;
    ASSERT_EQ(ReplaceSubtext(text, sought, replacement, start, count, caseSensitive),
              ReferenceReplace(text, sought, replacement, start, count, caseSensitive))
        << "text \"" << text << "\" sought \"" << sought << "\" start " << start << " count "
        << count;
  }
}

TEST_F(ScanReference, SplitText) {
  for (int i = 0; i < 100000; ++i) {
    const Text text = RandomText(14), delimiter = RandomText(2);
    const int32_t maxCount = static_cast<int32_t>(rng_() % 6) - 1;
    const bool unlimited = rng_() % 2 == 0;
    ASSERT_EQ(SplitText(text, delimiter, unlimited ? std::nullopt : std::optional(maxCount)),
              ReferenceSplit(text, delimiter, unlimited ? INT32_MAX : maxCount))
        << "text \"" << text << "\" delimiter \"" << delimiter << "\" maxCount " << maxCount;
  }
}

}  // namespace
}  // namespace text
