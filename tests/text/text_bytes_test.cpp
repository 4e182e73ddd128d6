// The byte-wise operations: length, cutting (which may split a two-byte character), the
// conversions between texts, bytes and characters.
#include <gtest/gtest.h>

#include "text/text.h"

namespace text {
namespace {

TEST(TextLength, CountsBytesTwoPerChineseCharacter) {
  EXPECT_EQ(TextLength(""), 0);
  EXPECT_EQ(TextLength("abc"), 3);
  EXPECT_EQ(TextLength("形势与政策"), 10);
}

TEST(JoinTexts, ConcatenatesInOrderEmptyPartsContributeNothing) {
  EXPECT_EQ(JoinTexts(Text("a"), Text(""), Text("b")), "ab");
  EXPECT_EQ(JoinTexts(Text(""), Text("")), "");
  EXPECT_EQ(JoinTexts(Text("成绩"), Text(":"), NumberToText(85.5)), "成绩:85.5");
}

TEST(TextEquals, ComparesBytesCaseSensitively) {
  EXPECT_TRUE(TextEquals("", ""));
  EXPECT_TRUE(TextEquals("成绩", "成绩"));
  EXPECT_FALSE(TextEquals("abc", "ABC"));
  EXPECT_FALSE(TextEquals("ab", "abc"));
}

struct CutCase {
  const char* text;
  int32_t start;  // MidText only
  int32_t n;
  const char* expected;
};

TEST(LeftText, TakesTheFirstBytes) {
  const CutCase cases[] = {
      {"形势与政策概论", 0, 10, "形势与政策"},
      {"\xD0\xCE\xCA\xC6", 0, 3, "\xD0\xCE\xCA"},  // cuts 势 in half
      {"abc", 0, 0, ""},
      {"abc", 0, -5, ""},
      {"abc", 0, 3, "abc"},
      {"abc", 0, INT32_MAX, "abc"},
      {"", 0, 2, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(LeftText(c.text, c.n), c.expected) << c.text << " " << c.n;
}

TEST(RightText, TakesTheLastBytes) {
  const CutCase cases[] = {
      {"abcdef", 0, 2, "ef"},       {"abc", 0, 0, ""},
      {"abc", 0, -1, ""},           {"abc", 0, 7, "abc"},
      {"abc", 0, INT32_MAX, "abc"}, {"形势", 0, 1, "\xC6"},
  };
  for (const auto& c : cases) EXPECT_EQ(RightText(c.text, c.n), c.expected) << c.text << " " << c.n;
}

TEST(MidText, TakesBytesFromAOneBasedStart) {
  const CutCase cases[] = {
      {"abc", 2, 10, "bc"},        {"abc", 0, 2, ""},
      {"abc", -3, 2, ""},          {"abc", 4, 1, ""},
      {"abc", 3, 1, "c"},          {"abc", 1, 0, ""},
      {"abc", 2, -1, ""},          {"abc", 1, 3, "abc"},
      {"abc", 2, INT32_MAX, "bc"}, {"abc", INT32_MAX, INT32_MAX, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MidText(c.text, c.start, c.n), c.expected) << c.start << " " << c.n;
  }
}

TEST(ReplaceTextAt, DeletesAtTheClampedStartThenInserts) {
  struct Case {
    const char* text;
    int32_t start;
    int32_t n;
    const char* replacement;
    const char* expected;
  } const cases[] = {
      {"Set-Cookie: a=b", 1, 12, "", "a=b"},
      {"Set-Cookie: a=b", 0, 12, "", "a=b"},  // start 0 acts as 1
      {"Set-Cookie: a=b", -7, 12, "", "a=b"},
      {"abcdef", 3, 100, "", "ab"},  // deletes to the end
      {"abcdef", 3, INT32_MAX, "X", "abX"},
      {"abcdef", 3, 0, "X", "abXcdef"},  // n <= 0 only inserts
      {"abcdef", 3, -2, "", "abcdef"},
      {"abcdef", 7, 2, "X", "abcdefX"},  // start just past the end appends
      {"abcdef", 100, 2, "X", "abcdefX"},
      {"abcdef", 2, 2, "形势", "a形势def"},
      {"", 1, 1, "x", "x"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReplaceTextAt(c.text, c.start, c.n, c.replacement), c.expected)
        << c.text << " " << c.start << " " << c.n;
  }
  EXPECT_EQ(ReplaceTextAt("Set-Cookie: a=b", 1, 12), "a=b");  // replacement omitted
}

TEST(CharFromCode, OneByteZeroGivesEmpty) {
  EXPECT_EQ(CharFromCode(0), "");
  EXPECT_EQ(CharFromCode(65), "A");
  EXPECT_EQ(CharFromCode(13), "\r");
  EXPECT_EQ(CharFromCode(255), "\xFF");
  EXPECT_EQ(JoinTexts(CharFromCode(13), CharFromCode(10)), "\r\n");
}

TEST(BlankText, Spaces) {
  EXPECT_EQ(BlankText(0), "");
  EXPECT_EQ(BlankText(-3), "");
  EXPECT_EQ(BlankText(3), "   ");
}

TEST(Bytes, ConversionsKeepEveryByteUntilAZero) {
  using namespace std::string_literals;
  EXPECT_EQ(TextToBytes("").data, "");
  EXPECT_EQ(TextToBytes("形势").data, "形势");
  EXPECT_EQ(BytesLength(TextToBytes("形势")), 4);

  EXPECT_EQ(BytesToText(Bytes{"ab\0cd"s}), "ab");
  EXPECT_EQ(BytesToText(Bytes{"\0abc"s}), "");
  EXPECT_EQ(BytesToText(Bytes{"abc"s}), "abc");
  EXPECT_EQ(BytesToText(Bytes{}), "");

  EXPECT_EQ(BlankBytes(0), Bytes{});
  EXPECT_EQ(BlankBytes(-1), Bytes{});
  EXPECT_EQ(BlankBytes(3), Bytes{"\0\0\0"s});
  EXPECT_EQ(BytesLength(BlankBytes(3)), 3);
  EXPECT_EQ(BytesLength(Bytes{}), 0);

  const Bytes body{"a\0bc"s};
  EXPECT_EQ(BytesLeft(body, 2), Bytes{"a\0"s});
  EXPECT_EQ(BytesLeft(body, 0), Bytes{});
  EXPECT_EQ(BytesLeft(body, -1), Bytes{});
  EXPECT_EQ(BytesLeft(body, 10), body);
}

}  // namespace
}  // namespace text
