// NumberToText against an independent exact reference over many doubles of every magnitude.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include "tests/support/number_text_reference.h"
#include "text/text.h"

namespace text {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr int kScale = 10;  // the sanitizers make every call far slower
#else
constexpr int kScale = 1;
#endif

class NumberToTextRandom : public ::testing::Test {
 protected:
  // Checks x and -x; stops reporting after a few failures.
  void Check(double x) {
    if (x == 0 || !std::isfinite(x)) return;
    for (const double v : {x, -x}) {
      ++checked_;
      const std::string expected = support::NumberTextReference(v);
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
