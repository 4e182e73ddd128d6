// Reading a number out of a text, and the conversion of a double back to an integer.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "text/text.h"

namespace text {

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsSkipped(char c) {
  return c == ' ' || (c >= 0x09 && c <= 0x0D);
}

// For a clean number ("0" digits [. digits] [e [-] digits]) with a nonzero digit: whether its
// magnitude is at least 10 (its leading digit stands at a positive power of ten). Used only for
// numbers beyond the range of a double, where this tells infinity from zero.
bool MagnitudeOverflows(const std::string& clean) {
  const std::size_t e = clean.find('e');
  const std::string mantissa = clean.substr(0, e);
  const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
  const std::size_t first = mantissa.find_first_of("123456789");
  // The power of ten of the leading digit, then the written exponent, saturated.
  int64_t power = first < point ? static_cast<int64_t>(point - first) - 1
                                : -static_cast<int64_t>(first - point);
  if (e != std::string::npos) {
    const bool minus = clean[e + 1] == '-';
    int64_t exponent = 0;
    for (std::size_t i = e + (minus ? 2 : 1); i < clean.size(); ++i) {
      exponent = std::min<int64_t>(exponent * 10 + (clean[i] - '0'), int64_t{1} << 40);
    }
    power += minus ? -exponent : exponent;
  }
  return power > 0;
}

}  // namespace

double ToNumber(const Text& text) {
  const Text half = ToHalfWidth(text);
  const char* p = half.data();
  const char* const end = p + half.size();
  while (p != end && IsSkipped(*p)) ++p;
  bool negative = false;
  if (p != end && (*p == '+' || *p == '-')) negative = *p++ == '-';

  // The number read is copied as plain ASCII ("0" + mantissa + "e" + exponent) and converted
  // by a correctly rounding, locale-independent routine.
  std::string clean = "0";
  int digits = 0;
  bool point = false;
  for (; p != end; ++p) {
    if (IsDigit(*p)) {
      clean.push_back(*p);
      ++digits;
    } else if (*p == '.' && !point) {
      clean.push_back('.');
      point = true;
    } else {
      break;
    }
  }
  if (digits == 0) return 0;

  if (p != end && (*p == 'e' || *p == 'E' || *p == 'd' || *p == 'D')) {
    const char* q = p + 1;
    const char* sign = nullptr;
    if (q != end && (*q == '+' || *q == '-')) sign = q++;
    if (q != end && IsDigit(*q)) {
      clean.push_back('e');
      if (sign != nullptr && *sign == '-') clean.push_back('-');
      for (; q != end && IsDigit(*q); ++q) clean.push_back(*q);
    }
  }

  double value = 0;
  const auto [rest, error] = std::from_chars(clean.data(), clean.data() + clean.size(), value);
  (void)rest;
  if (error == std::errc::result_out_of_range) {
    // Beyond the range of a double: the nearest value is zero or infinity. The exponent sign
    // tells which, once the mantissa's own magnitude is counted in.
    value = MagnitudeOverflows(clean) ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return negative ? -value : value;
}

int32_t ToInteger(double x) {
  // The program's values are whole numbers within range; the others are clamped, not undefined.
  if (std::isnan(x)) return 0;
  if (x >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (x <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(x);
}

}  // namespace text
