// An independent exact reference for NumberToText of a double, shared by the random test and the
// fuzz target. The digits come from the C library's printf (glibc prints every digit of the
// exact decimal expansion) and the two roundings are done on decimal strings.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace support {

namespace number_text_reference {

struct Expansion {
  std::string digits;  // the first 18 significant digits, exactly (not rounded)
  int exponent;        // the power of ten of the first digit
};

inline Expansion ReadExpansion(const char* printed) {
  Expansion e;
  const char* p = printed;
  for (; *p != 'e'; ++p) {
    if (*p >= '0' && *p <= '9') e.digits.push_back(*p);
  }
  e.exponent = std::atoi(p + 1);
  return e;
}

// The first 18 significant digits of |x| (finite, not zero) without rounding. 41 digits are
// printed (rounded to nearest); they carry into the first 18 only when digits 19 to 41 are all
// nines, and then all those print as zeros, so that case is printed again in full (every
// double's expansion has at most 767 significant digits).
inline Expansion ExactLeadingDigits(double x) {
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
inline void RoundHalfUp(std::string& digits, std::size_t n, int& exponent) {
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

inline std::string TrimmedFraction(std::string s) {
  while (!s.empty() && s.back() == '0') s.pop_back();
  return s;
}

}  // namespace number_text_reference

// What NumberToText(x) must give: 17 digits half up from the exact expansion, then 13 half up;
// the exponent form below 1e-4 and from 1e13 on, with a three-digit exponent; trailing zeros and
// a bare point removed; "0" for both zeros; the infinities, the not-a-number of 0/0 and the
// other ones as "1.#INF", "-1.#INF", "-1.#IND" and "1.#QNAN" (with "-" when the sign is set).
inline std::string NumberTextReference(double x) {
  using namespace number_text_reference;
  const bool negative = std::signbit(x);
  if (std::isinf(x)) return negative ? "-1.#INF" : "1.#INF";
  if (std::isnan(x)) {
    if (std::bit_cast<uint64_t>(x) == 0xFFF8000000000000) return "-1.#IND";
    return negative ? "-1.#QNAN" : "1.#QNAN";
  }
  if (x == 0) return "0";

  Expansion e = ExactLeadingDigits(x);
  int exponent = e.exponent;
  RoundHalfUp(e.digits, 17, exponent);
  RoundHalfUp(e.digits, 13, exponent);
  const std::string& d = e.digits;
  std::string out = negative ? "-" : "";
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

}  // namespace support
