// The crossing between GBK and UTF-16: exact both ways for GBK text, "?" for what GBK lacks,
// U+FFFD for bytes that are not GBK, and no failure on any input.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "ui/qt/gbk.h"

namespace ui {
namespace {

struct RoundTrip {
  const char* gbk;  // compiled to GBK bytes
  const char16_t* utf16;
};

void PrintTo(const RoundTrip& c, std::ostream* out) {
  *out << ::testing::PrintToString(std::string(c.gbk));
}

class GbkRoundTripTest : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(GbkRoundTripTest, ConvertsBothWaysExactly) {
  const RoundTrip& c = GetParam();
  const QString expected = QString::fromUtf16(c.utf16);
  EXPECT_EQ(GbkToQString(c.gbk), expected);
  EXPECT_EQ(QStringToGbk(expected), c.gbk);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, GbkRoundTripTest,
    ::testing::Values(RoundTrip{"", u""}, RoundTrip{"abc 123\r\n", u"abc 123\r\n"},
                      RoundTrip{"澄溪学院成绩计算器", u"澄溪学院成绩计算器"},
                      RoundTrip{"您的必修加权学分绩点：3.5", u"您的必修加权学分绩点：3.5"},
                      RoundTrip{"　～！，", u"　～！，"},
                      RoundTrip{"         课程名", u"         课程名"}));

TEST(GbkTest, LiteralsAreGbkBytes) {
  EXPECT_EQ(std::string("登录"), std::string("\xB5\xC7\xC2\xBC"));
  EXPECT_EQ(GbkToQString("\xB5\xC7\xC2\xBC"), QString::fromUtf16(u"登录"));
}

TEST(GbkTest, CharactersGbkLacksBecomeOneQuestionMarkEach) {
  // Hangul, an emoji (a surrogate pair), a lone surrogate, and U+0000.
  const char16_t unmapped[] = {u'a', 0xD55C, u'b', 0xD83D, 0xDE00, u'c', 0xD800, u'd', 0, u'e'};
  const QString input(reinterpret_cast<const QChar*>(unmapped), std::size(unmapped));
  EXPECT_EQ(QStringToGbk(input), "a?b?c?d?e");
  EXPECT_EQ(QStringToGbk(QString::fromUtf16(u"成绩한")), "成绩?");
  const char16_t loneHighAtEnd[] = {u'x', 0xD800};
  EXPECT_EQ(QStringToGbk(QString(reinterpret_cast<const QChar*>(loneHighAtEnd), 2)), "x?");
}

struct Invalid {
  std::string gbk;
  const char16_t* shown;
};

void PrintTo(const Invalid& c, std::ostream* out) {
  *out << ::testing::PrintToString(c.gbk);
}

class GbkInvalidTest : public ::testing::TestWithParam<Invalid> {};

TEST_P(GbkInvalidTest, ShowsReplacementCharacterAndGoesOn) {
  EXPECT_EQ(GbkToQString(GetParam().gbk), QString::fromUtf16(GetParam().shown));
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, GbkInvalidTest,
    ::testing::Values(
        Invalid{"\xFF", u"\uFFFD"},                // never a GBK byte
        Invalid{"a\xB3", u"a\uFFFD"},              // lead byte without a trail at the end
        Invalid{"\x81\x20z", u"\uFFFD z"},         // lead byte, then no trail: space kept
        Invalid{"\xAA\xA1\xB3\xC9", u"\uFFFD成"},  // unmapped pair skipped whole, in step
        Invalid{"\xB3\xC9\xFF\xFF\xCF\xAA", u"成\uFFFD\uFFFD溪"},
        Invalid{"\xAA\xA1\xAA", u"\uFFFD\uFFFD"}));  // unmapped pair, then a lone lead

TEST(GbkTest, EuroSignIsTheSingleByte80) {
  EXPECT_EQ(GbkToQString("\x80"), QString::fromUtf16(u"€"));
  EXPECT_EQ(QStringToGbk(QString::fromUtf16(u"€")), "\x80");
}

TEST(GbkTest, EveryByteSequenceConvertsWithoutFailing) {
  // All byte pairs, once as a whole text: nothing stops the conversion and nothing is lost in
  // the way back but the bytes that were not GBK.
  std::string all;
  for (int first = 1; first < 256; ++first) {
    for (int second = 1; second < 256; second += 7) {
      all += static_cast<char>(first);
      all += static_cast<char>(second);
    }
  }
  const QString shown = GbkToQString(all);
  EXPECT_FALSE(shown.isEmpty());
  const std::string back = QStringToGbk(shown);
  EXPECT_EQ(back.find('\0'), std::string::npos);
  EXPECT_FALSE(back.empty());
}

}  // namespace
}  // namespace ui
