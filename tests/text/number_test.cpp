// Numbers read from texts and printed into labels.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

#include "text/text.h"

namespace text {
namespace {

TEST(ToHalfWidth, NarrowsFullWidthFormsAndTheListedSigns) {
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"８５．５", "85.5"},
      {"\xA3\xA1\xA3\xFE", "!~"},                // the ends of the A3 range
      {"\xA3\xA0\xA3\xFF", "\xA3\xA0\xA3\xFF"},  // just outside it
      {"ａＺ＋－", "aZ+-"},
      {"\xA1\xA1", " "},
      {"\xA1\xAB", "~"},
      {"\xA1\xEE\xA1\xEF", "**"},
      {"形势", "形势"},
      {"a\xA3", "a"},  // lone high last byte dropped
      {"x\xA3\xB5\xA3", "x5"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ToHalfWidth(c.text), c.expected) << c.text;
}

TEST(ToNumber, TableOfCases) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  const struct {
    const char* text;
    double expected;
  } cases[] = {
      {"85", 85},
      {" 85.5", 85.5},
      {"８５．５", 85.5},
      {"８５", 85},
      {"85分", 85},
      {"优秀", 0},
      {"", 0},
      {"-3", -3},
      {"+3", 3},
      {".5", 0.5},
      {"5.", 5},
      {"-.5", -0.5},
      {"1e-007", 0.0000001},
      {"2d2", 200},
      {"2D-1", 0.2},
      {"1E+3", 1000},
      {"1e", 1},  // a letter without digits ends the number before it
      {"1e+", 1},
      {"1e-x", 1},
      {"1ex", 1},
      {"0x10", 0},
      {"+-3", 0},
      {"- 5", 0},
      {".", 0},
      {"-", 0},
      {"1.2.3", 1.2},
      {"\t\r\n\v\f 12", 12},  // 0x09-0x0D and spaces skipped
      {"\x0E 5", 0},
      {"　８５", 85},  // full-width space
      {"１ｅ３", 1000},
      {"0.1", 0.1},
      {"00012", 12},
      {"3.14159265358979323846264338327950288", 3.141592653589793},
      {"123456789012345678901234567890", 1.2345678901234568e29},
      {"1e400", kInf},
      {"-1e400", -kInf},
      {"0.00001e310", 1e305},
      {"1e99999999999999999999", kInf},
      {"1e-400", 0},
      {"100000e-330", 0},
      {"1e-99999999999999999999", 0},
      {"0e99999", 0},
      {"4.9406564584124654e-324", 4.9406564584124654e-324},  // the smallest subnormal
      {"2.2250738585072011e-308", 2.2250738585072011e-308},
      {"1.7976931348623157e308", 1.7976931348623157e308},
  };
  for (const auto& c : cases) EXPECT_EQ(ToNumber(c.text), c.expected) << c.text;
}

TEST(ToNumber, NearestDoubleAsStrtodGivesIt) {
  // Random decimal numbers of up to 25 digits and exponents of every size; the test runs in
  // the C locale, where strtod reads them correctly rounded.
  std::mt19937 rng(3);
  for (int i = 0; i < 100000; ++i) {
    std::string number = rng() % 2 ? "-" : "";
    const int digits = 1 + static_cast<int>(rng() % 25);
    const int point = static_cast<int>(rng() % (digits + 1));
    for (int d = 0; d < digits; ++d) {
      if (d == point) number += '.';
      number += static_cast<char>('0' + rng() % 10);
    }
    if (rng() % 2) number += "e" + std::to_string(static_cast<int>(rng() % 660) - 330);
    const double expected = std::strtod(number.c_str(), nullptr);
    ASSERT_EQ(std::bit_cast<uint64_t>(ToNumber(number)), std::bit_cast<uint64_t>(expected))
        << number;
  }
}

TEST(ToNumber, ReadsBackWhatNumberToTextPrints) {
  for (const double x : {0.0000001, 1e-5, 12345678901234.0, 83.33333333333, -2.5, 1e100}) {
    EXPECT_EQ(NumberToText(ToNumber(NumberToText(x))), NumberToText(x)) << x;
  }
}

TEST(NumberToText, TableOfExamples) {
  const struct {
    double x;
    const char* expected;
  } cases[] = {
      {0, "0"},
      {-0.0, "0"},
      {0.25, "0.25"},
      {1.625, "1.625"},
      {3.8, "3.8"},
      {85.5, "85.5"},
      {250.0 / 3, "83.33333333333"},
      {49.0 / 15, "3.266666666667"},
      {0.0000001, "1e-007"},
      {0.00001, "1e-005"},
      {0.0001, "0.0001"},
      {0.00009, "9e-005"},
      {0.00012345, "0.00012345"},
      {1234567, "1234567"},
      {123456789012, "123456789012"},
      {1234567890123, "1234567890123"},
      {10000000000000, "1e+013"},
      {12345678901234, "1.234567890123e+013"},
      {9.99999999999999, "10"},
      {9999999999999.4, "9999999999999"},
      {9999999999999.5, "1e+013"},  // carry out of the first digit raises the exponent
      {-2.5, "-2.5"},
      {472.98681640625, "472.9868164063"},  // exact tie at the 14th digit goes up
      {442609.0 / 8278, "53.46810823871"},  // 17 digits first, then 13
      {53.4681082387050, "53.46810823871"},
      // 567.18748022024999949999...: the 18th digit is 4 followed by nines; it must not round
      // the 17th up (which would make the 14th a 5 and print ...2203).
      {567.18748022025, "567.1874802202"},
      {0.1, "0.1"},
      {1.0 / 3, "0.3333333333333"},
      {2.0 / 3, "0.6666666666667"},
      {1e100, "1e+100"},
      {1e-300, "1e-300"},
      {-1.5e-10, "-1.5e-010"},
      {std::numeric_limits<double>::max(), "1.797693134862e+308"},
      {std::numeric_limits<double>::min(), "2.225073858507e-308"},
      {std::numeric_limits<double>::denorm_min(), "4.940656458412e-324"},
      {std::numeric_limits<double>::infinity(), "1.#INF"},
      {-std::numeric_limits<double>::infinity(), "-1.#INF"},
  };
  for (const auto& c : cases) EXPECT_EQ(NumberToText(c.x), c.expected) << c.expected;
}

TEST(NumberToText, NotANumber) {
  EXPECT_EQ(NumberToText(std::bit_cast<double>(uint64_t{0xFFF8000000000000})), "-1.#IND");
  EXPECT_EQ(NumberToText(std::bit_cast<double>(uint64_t{0x7FF8000000000000})), "1.#QNAN");
  EXPECT_EQ(NumberToText(std::bit_cast<double>(uint64_t{0xFFF8000000000001})), "-1.#QNAN");
  EXPECT_EQ(NumberToText(std::bit_cast<double>(uint64_t{0x7FF0000000000001})), "1.#QNAN");
  EXPECT_EQ(NumberToText(std::bit_cast<double>(uint64_t{0xFFFFFFFFFFFFFFFF})), "-1.#QNAN");
#if defined(__x86_64__) || defined(__i386__)
  // The quotient of no credits: computed at run time, where x86 makes the default NaN.
  volatile double zero = 0;
  EXPECT_EQ(NumberToText(zero / zero), "-1.#IND");
  EXPECT_EQ(NumberToText(1 / zero), "1.#INF");
#endif
}

TEST(NumberToText, Integers) {
  EXPECT_EQ(NumberToText(int32_t{0}), "0");
  EXPECT_EQ(NumberToText(int32_t{-12}), "-12");
  EXPECT_EQ(NumberToText(int32_t{94}), "94");
  EXPECT_EQ(NumberToText(std::numeric_limits<int32_t>::max()), "2147483647");
  EXPECT_EQ(NumberToText(std::numeric_limits<int32_t>::min()), "-2147483648");
}

TEST(ToInteger, TruncatesTowardZero) {
  EXPECT_EQ(ToInteger(3.9), 3);
  EXPECT_EQ(ToInteger(-3.9), -3);
  EXPECT_EQ(ToInteger(-0.5), 0);
  EXPECT_EQ(ToInteger(105.0), 105);
  EXPECT_EQ(ToInteger(2147483647.0), 2147483647);
  EXPECT_EQ(ToInteger(-2147483648.0), std::numeric_limits<int32_t>::min());
  // Out of range and not-a-number are clamped rather than undefined.
  EXPECT_EQ(ToInteger(1e10), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(ToInteger(-1e10), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(ToInteger(std::nan("")), 0);
}

}  // namespace
}  // namespace text
