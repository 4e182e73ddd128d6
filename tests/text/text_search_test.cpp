// The character-wise searches: a match begins only where a character begins (a byte from 0x80
// up takes the next byte with it), positions are 1-based, failure is -1.
//
// GBK bytes used below: 啊 = B0 A1, “ = A1 B0, 　 (full-width space) = A1 A1. The text
// "\xB0\xA1\xB0\xA1" (啊啊) holds the bytes of “ only across its character boundary.
#include <gtest/gtest.h>

#include "text/text.h"

namespace text {
namespace {

struct FindCase {
  const char* text;
  const char* sought;
  int32_t start;
  bool ignoreCase;
  int32_t expected;
};

TEST(FindText, TableOfCases) {
  const FindCase cases[] = {
      {"abcabc", "c", 1, false, 3},
      {"abcabc", "c", 0, false, 3},  // start <= 1: the whole text
      {"abcabc", "c", -5, false, 3},
      {"abcabc", "c", 4, false, 6},
      {"abcabc", "c", 6, false, 6},
      {"abcabc", "c", 7, false, -1},  // start beyond the length
      {"abcabc", "x", 1, false, -1},
      {"ab", "abc", 1, false, -1},  // longer than the text
      {"aaa", "aa", 1, false, 1},
      {"", "a", 1, false, -1},
      // The empty sought: 1 whenever the range holds a byte, even from a later start.
      {"abc", "", 1, false, 1},
      {"abc", "", 2, false, 1},
      {"abc", "", 3, false, 1},
      {"abc", "", 4, false, -1},
      {"", "", 1, false, -1},
      {"", "", 0, false, -1},
      // Case folding: A-Z and a-z only, on every compared byte.
      {"Set-Cookie: a=b", "set-cookie: ", 1, true, 1},
      {"Set-Cookie: a=b", "set-cookie: ", 1, false, -1},
      {"xSET-COOKIE", "Set-Cookie", 1, true, 2},
      {"a[b", "A{B", 1, true, -1},  // [ and { differ by 0x20 but are no letters
      {"a@b", "A`B", 1, true, -1},
      {"\xB0\x41", "\xB0\x61", 1, true, 1},  // second byte inside the span folds too
      {"\xB0\x41", "\xB0\x61", 1, false, -1},
      // Character boundaries.
      {"\xB0\xA1\xB0\xA1", "\xA1\xB0", 1, false, -1},  // across the boundary: not found
      {"\xB0\xA1\xB0\xA1", "\xA1\xB0", 1, true, -1},
      {"\xB0\xA1\xB0\xA1", "\xA1\xB0", 2, false, 2},  // byte 2 taken as a beginning
      {"\xB0\xA1\xA1\xB0", "\xA1\xB0", 1, false, 3},
      {"\xB0\xA1\xB0\xA1\xA1\xB0", "\xA1\xB0", 1, false, 5},  // skips the false one at 2
      {"\x81\x40@", "@", 1, false, 3},  // a low second byte is not a character
      {"\x81\x40", "@", 1, false, -1},
      {"\x81\x40", "@", 2, false, 2},
      {"\x81\x61", "A", 1, true, -1},
      {"形势与政策", "政策", 1, false, 7},
      {"形势与政策", "政策", 8, false, -1},
      // A high last byte without partner stops the scan.
      {"ab\xB0", "\xB0", 1, false, -1},
      {"ab\xB0", "\xB0", 1, true, -1},
      {"ab\xB0", "b\xB0", 1, false, 2},  // a match that begins before it stands
      {"\xB0", "\xB0", 1, false, -1},
      {"\xB0\xA1\xB0", "\xA1\xB0", 1, false, -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindText(c.text, c.sought, c.start, c.ignoreCase), c.expected)
        << "text \"" << c.text << "\" sought \"" << c.sought << "\" start " << c.start
        << " ignoreCase " << c.ignoreCase;
  }
}

TEST(FindText, LongChineseRunDoesNotConfuseTheBoundary) {
  // Thousands of two-byte characters before a match that lies across a boundary and then one
  // that lies on it.
  Text page;
  for (int i = 0; i < 5000; ++i) page += "啊";
  const Text tail = page + "\xA1\xB0";
  EXPECT_EQ(FindText(page, "\xA1\xB0", 1, false), -1);
  EXPECT_EQ(FindText(tail, "\xA1\xB0", 1, false), 10001);
  EXPECT_EQ(FindText(tail, "\xA1\xB0", 1, true), 10001);
  EXPECT_EQ(FindText("x" + tail, "\xA1\xB0", 1, false), 10002);
}

struct ReverseCase {
  const char* text;
  const char* sought;
  std::optional<int32_t> start;
  bool ignoreCase;
  int32_t expected;
};

TEST(FindTextReverse, TableOfCases) {
  const ReverseCase cases[] = {
      {"aaaa", "aa", std::nullopt, false, 3},  // matches overlap
      {"<iframe src=\"a\"></iframe><iframe src=\"b\">", "src=\"", std::nullopt, false, 34},
      {"abcabc", "abc", std::nullopt, false, 4},
      {"abcabc", "abc", 7, false, 4},  // the range is the first start - 1 bytes
      {"abcabc", "abc", 6, false, 1},  // a match must end before start
      {"abcabc", "abc", 100, false, 4},
      {"abcabc", "abc", 1, false, -1},
      {"abcabc", "abc", 0, false, -1},
      {"abcabc", "abc", -3, false, -1},
      {"abcabc", "x", std::nullopt, false, -1},
      {"abc", "", std::nullopt, false, 1},
      {"abc", "", 2, false, 1},
      {"abc", "", 1, false, -1},
      {"", "", std::nullopt, false, -1},
      {"SRC= src=", "SRC=", std::nullopt, true, 6},
      {"SRC= src=", "SRC=", std::nullopt, false, 1},
      {"\xB0\xA1\xB0\xA1", "\xA1\xB0", std::nullopt, false, -1},
      {"x\xA1\xB0\xB0\xA1\xB0", "\xA1\xB0", std::nullopt, false, 2},  // the one at 5 straddles
      {"ab\xB0\xA1", "b", 4, false, 2},
      {"ab\xB0\xA1", "\xB0", 4, false, -1},  // cut to a lone last byte
      {"形势与形势", "形势", std::nullopt, false, 7},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindTextReverse(c.text, c.sought, c.start, c.ignoreCase), c.expected)
        << "text \"" << c.text << "\" sought \"" << c.sought << "\" start "
        << c.start.value_or(-999);
  }
}

struct ReplaceCase {
  const char* text;
  const char* sought;
  const char* replacement;
  int32_t start;
  int32_t count;
  bool caseSensitive;
  const char* expected;
};

TEST(ReplaceSubtext, TableOfCases) {
  const ReplaceCase cases[] = {
      {"a-b-c", "-", "+", 1, kAllMatches, true, "a+b+c"},
      {"a-b-c", "-", "", 1, kAllMatches, true, "abc"},  // an empty replacement deletes
      {"a-b-c", "-", "+", 1, 1, true, "a+b-c"},
      {"a-b-c", "-", "+", 1, 5, true, "a+b+c"},
      {"a-b-c", "-", "+", 1, -7, true, "a+b+c"},  // any negative count: all
      {"a-b-c", "-", "+", 1, 0, true, "a-b-c"},
      {"a-b-c", "-", "+", 3, kAllMatches, true, "a-b+c"},  // text before start unchanged
      {"a-b-c", "-", "+", 0, kAllMatches, true, "a+b+c"},
      {"a-b-c", "-", "+", -4, kAllMatches, true, "a+b+c"},
      {"a-b-c", "-", "+", 6, kAllMatches, true, "a-b-c"},  // start beyond the length
      {"a-b-", "-", "+", 4, kAllMatches, true, "a-b+"},
      {"", "-", "+", 1, kAllMatches, true, ""},
      {"a-b", "", "+", 1, kAllMatches, true, "a-b"},
      {"Ab ab AB", "ab", "x", 1, kAllMatches, false, "x x x"},
      {"Ab ab AB", "ab", "x", 1, kAllMatches, true, "Ab x AB"},
      {"aaaa", "aa", "b", 1, kAllMatches, true, "bb"},  // never overlapping
      {"aaa", "aa", "b", 1, kAllMatches, true, "ba"},
      {"a", "a", "aa", 1, kAllMatches, true, "aa"},  // the replacement is not scanned again
      {"<b>形势</b>与<b>政策</b>", "<b>", "", 1, kAllMatches, true, "形势</b>与政策</b>"},
      // Character boundaries.
      {"\xB0\xA1\xB0\xA1", "\xA1\xB0", "X", 1, kAllMatches, true, "\xB0\xA1\xB0\xA1"},
      {"\xB0\xA1\xA1\xB0", "\xA1\xB0", "X", 1, kAllMatches, true, "\xB0\xA1X"},
      {"\xB0\xA1\xB0\xA1", "\xA1\xB0", "X", 2, kAllMatches, true, "\xB0X\xA1"},
      // A high last byte: dropped when the scan reaches it, kept in a tail shorter than sought
      // and in the rest after the last counted replacement.
      {"ab\xB0", "x", "y", 1, kAllMatches, true, "ab"},
      {"ab\xB0", "\xB0", "y", 1, kAllMatches, true, "ab"},
      {"a\xB0\xA1\xB0", "x", "y", 1, kAllMatches, false, "a\xB0\xA1"},
      // A one-byte sought can match a first byte; the scan goes on right after it.
      {"a\xB0\xA1\xB0", "\xB0", "y", 1, kAllMatches, true, "ay\xA1\xB0"},
      {"ab\xB0", "xy", "z", 1, kAllMatches, true, "ab\xB0"},
      {"a-b\xB0", "-", "+", 1, 1, true, "a+b\xB0"},
      {"a-b\xB0", "-", "+", 1, kAllMatches, true, "a+b"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReplaceSubtext(c.text, c.sought, c.replacement, c.start, c.count, c.caseSensitive),
              c.expected)
        << "text \"" << c.text << "\" sought \"" << c.sought << "\" start " << c.start << " count "
        << c.count;
  }
}

TEST(RemoveAllSpaces, DropsOnlySpaceAndFullWidthSpaceCharacters) {
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"a b\tc\r\n　d", "ab\tc\r\nd"},
      {"", ""},
      {"  　 ", ""},
      {"\v\f\x01", "\v\f\x01"},
      {"\xB0\xA1\xA1\xA1", "\xB0\xA1"},
      {"\xB0\xA1\xA1\xB0", "\xB0\xA1\xA1\xB0"},  // A1 A1 across a boundary is no character
      {"\x81 x", "\x81 x"},                      // a space as second byte stays
      {"ab\xB0", "ab"},                          // lone high last byte dropped
      {"a \xA1", "a"},
      {"形 势", "形势"},
  };
  for (const auto& c : cases) EXPECT_EQ(RemoveAllSpaces(c.text), c.expected) << c.text;
}

TEST(SplitText, TableOfCases) {
  const struct {
    const char* text;
    const char* delimiter;
    std::optional<int32_t> maxCount;
    TextArray expected;
  } cases[] = {
      {"a\r\n\r\nb", "\r\n", std::nullopt, {"a", "", "b"}},
      {"a\r\n", "\r\n", std::nullopt, {"a"}},  // a trailing delimiter: no empty last item
      {"a\r\n\r\n", "\r\n", std::nullopt, {"a", ""}},
      {"\r\na", "\r\n", std::nullopt, {"", "a"}},
      {"\r\n", "\r\n", std::nullopt, {""}},
      {"a", "\r\n", std::nullopt, {"a"}},
      {"", "\r\n", std::nullopt, {}},
      {"", "", std::nullopt, {}},
      {"a,b", "", std::nullopt, {"a,b"}},  // an empty delimiter: the whole text
      {"a,b", "", 0, {}},
      {"a,b,c", ",", 2, {"a", "b"}},  // the rest is discarded
      {"a,b,c", ",", 3, {"a", "b", "c"}},
      {"a,b,c", ",", 1, {"a"}},
      {"a,b,c", ",", 0, {}},
      {"a,b,c", ",", -1, {}},  // negative counts as 0
      {"a,b,", ",", 3, {"a", "b"}},
      {",,", ",", std::nullopt, {"", ""}},
      {"形势,与政策", ",", std::nullopt, {"形势", "与政策"}},
      {"\xB0\xA1\xB0\xA1", "\xA1\xB0", std::nullopt, {"\xB0\xA1\xB0\xA1"}},
      {"\xB0\xA1\xA1\xB0x", "\xA1\xB0", std::nullopt, {"\xB0\xA1", "x"}},
      {"a,\xB0", ",", std::nullopt, {"a", "\xB0"}},  // the lone byte ends the last item
      {"a\xB0", "\xB0", std::nullopt, {"a\xB0"}},
      {"aXXbXXc", "XX", std::nullopt, {"a", "b", "c"}},
      {"aXXXb", "XX", std::nullopt, {"a", "Xb"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SplitText(c.text, c.delimiter, c.maxCount), c.expected)
        << "text \"" << c.text << "\" delimiter \"" << c.delimiter << "\"";
  }
  const TextArray commaDefault = {"a", "b", "c"};
  EXPECT_EQ(SplitText("a,b,c"), commaDefault);
}

TEST(ArrayItem, NumberedFromOne) {
  const TextArray items = SplitText("a,b,c");
  EXPECT_EQ(ArrayItem(items, 1), "a");
  EXPECT_EQ(ArrayItem(items, 3), "c");
}

TEST(ToUpperToLower, ChangeOnlyOneByteLettersNeverSecondBytes) {
  const struct {
    const char* text;
    const char* upper;
    const char* lower;
  } cases[] = {
      {"abcXYZ", "ABCXYZ", "abcxyz"},
      {"", "", ""},
      {"a\x81\x61z", "A\x81\x61Z", "a\x81\x61z"},  // 81 61 is one character
      {"A\x81\x41Z", "A\x81\x41Z", "a\x81\x41z"},
      {"[`{@]", "[`{@]", "[`{@]"},
      {"set-cookie: 形势", "SET-COOKIE: 形势", "set-cookie: 形势"},
      {"a\xB0", "A\xB0", "a\xB0"},  // a lone last byte stays
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToUpper(c.text), c.upper) << c.text;
    EXPECT_EQ(ToLower(c.text), c.lower) << c.text;
  }
}

}  // namespace
}  // namespace text
