// NumberToText against an independent exact reference over many doubles of every magnitude.
// The reference takes the exact decimal expansion from the C library's printf (glibc prints
// every digit exactly) and applies the two roundings on decimal strings.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "text/text.h"

namespace text {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr int kScale = 10;  // the sanitizers make every call far slower
#else
constexpr int kScale = 1;
#endif

struct Expansion {
  std::string digits;  // the first 18 significant digits, exactly (not rounded)
  int exponent;        // the power of ten of the first digit
};

Expansion ReadExpansion(const char* printed) {
  Expansion e;
  const char* p = printed;
  for (; *p != 'e'; ++p) {
    if (*p >= '0' && *p <= '9') e.digits.push_back(*p);
  }
  e.exponent = std::atoi(p + 1);
  return e;
}

// The first 18 significant digits of |x| without rounding. 41 digits are printed (rounded to
// nearest); they carry into the first 18 only when digits 19 to 41 are all nines, and then all
// those print as zeros, so that case is printed again in full (every double's expansion has at
// most 767 significant digits).
Expansion ExactLeadingDigits(double x) {
  char buffer[1024];
  std::snprintf(buffer, sizeof buffer, "%.40e", std::fabs(x));
  Expansion e = ReadExpansion(buffer);
  if (e.digits.find_first_not_of('0', 18) == std::string::npos) {
    std::snprintf(buffer, sizeof buffer, "%.800e", std::fabs(x));
    e = ReadExpansion(buffer);
  }
  e.digits.resize(18);
  return e;
}

// Rounds a digit string half up to n digits by digit n + 1; a carry out of the first digit
// makes it 1 followed by zeros and raises the exponent.
void RoundHalfUp(std::string& digits, std::size_t n, int& exponent) {
  const bool up = digits[n] >= '5';
  digits.resize(n);
  if (!up) return;
  std::size_t i = n;
  while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
  if (i == 0) {
    digits[0] = '1';
    ++exponent;
  } else {
    ++digits[i - 1];
  }
}

std::string TrimmedFraction(std::string s) {
  while (!s.empty() && s.back() == '0') s.pop_back();
  return s;
}

std::string Reference(double x) {
  Expansion e = ExactLeadingDigits(x);
  int exponent = e.exponent;
  RoundHalfUp(e.digits, 17, exponent);
  RoundHalfUp(e.digits, 13, exponent);
  const std::string& d = e.digits;
  std::string out = std::signbit(x) ? "-" : "";
  if (exponent < -4 || exponent >= 13) {
    const std::string fraction = TrimmedFraction(d.substr(1));
    char power[16];
    std::snprintf(power, sizeof power, "e%c%03d", exponent < 0 ? '-' : '+', std::abs(exponent));
    out += d.substr(0, 1) + (fraction.empty() ? "" : "." + fraction) + power;
  } else if (exponent >= 0) {
    const std::string fraction = TrimmedFraction(d.substr(exponent + 1));
    out += d.substr(0, exponent + 1) + (fraction.empty() ? "" : "." + fraction);
  } else {
    out += "0." + std::string(-exponent - 1, '0') + TrimmedFraction(d);
  }
  return out;
}

class NumberToTextRandom : public ::testing::Test {
 protected:
  // Checks x and -x; stops reporting after a few failures.
  void Check(double x) {
    if (x == 0 || !std::isfinite(x)) return;
    for (const double v : {x, -x}) {
      ++checked_;
      const std::string expected = Reference(v);
      const std::string actual = NumberToText(v);
      if (actual != expected && ++failures_ <= 10) {
        ADD_FAILURE() << std::hexfloat << v << " printed " << actual << ", expected " << expected;
      }
    }
  }

  void TearDown() override {
    std::printf("checked %ld doubles\n", checked_);
    RecordProperty("checked", static_cast<int>(checked_));
  }

  std::mt19937_64 rng_{20240611};
  long checked_ = 0;
  int failures_ = 0;
};

TEST_F(NumberToTextRandom, RandomBitPatternsOfEveryMagnitude) {
  for (int i = 0; i < 300000 / kScale; ++i) Check(std::bit_cast<double>(rng_()));
}

TEST_F(NumberToTextRandom, ValuesFromZeroToAThousand) {
  std::uniform_real_distribution<double> value(0, 1000);
  for (int i = 0; i < 200000 / kScale; ++i) Check(value(rng_));
}

TEST_F(NumberToTextRandom, QuotientsOfScoreSumsByCredits) {
  // Sums of score x credits (tenths of a point, half credits) divided by credit sums.
  for (int i = 0; i < 150000 / kScale; ++i) {
    const double sum = static_cast<double>(rng_() % 2000001) / 10;
    const double credits = static_cast<double>(1 + rng_() % 400) / 2;
    Check(sum / credits);
    Check(static_cast<double>(rng_() % 1000000) / static_cast<double>(1 + rng_() % 100000));
  }
}

TEST_F(NumberToTextRandom, ShortExactExpansionsWithTiesAtTheFourteenthDigit) {
  // k / 2^j has a short exact expansion, so many end exactly on a 5.
  for (int i = 0; i < 150000 / kScale; ++i) {
    const double k = static_cast<double>(rng_() % (uint64_t{1} << 45));
    Check(std::ldexp(k, -static_cast<int>(rng_() % 40)));
  }
}

TEST_F(NumberToTextRandom, NeighboursOfRoundingEdges) {
  // Around 10^p and around the 13-digit halfway points, where carries and the exponent form
  // switch.
  for (int p = -323; p <= 308; ++p) {
    for (const double m : {1.0, 9.9999999999995, 9.99999999999995, 1.00000000000005, 5.0}) {
      const double edge = m * std::pow(10.0, p);
      double below = edge, above = edge;
      for (int step = 0; step < 20 / kScale + 1; ++step) {
        Check(below);
        Check(above);
        below = std::nextafter(below, 0.0);
        above = std::nextafter(above, HUGE_VAL);
      }
    }
  }
}

}  // namespace
}  // namespace text
