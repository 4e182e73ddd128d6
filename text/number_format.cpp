// Printing numbers: the 13-significant-digit general format of a double, and integers.
//
// The digits come from the exact decimal expansion of the double (finite for every double),
// computed with a small base-10^9 integer, so every double prints the same on every platform
// and no library rounding mode takes part.
#include <algorithm>
#include <array>
#include <bit>
#include <string>

#include "text/text.h"

namespace text {

namespace {

constexpr uint64_t kLimbBase = 1000000000;  // 10^9: one limb holds nine decimal digits

// A nonnegative integer of up to 900 decimal digits (the exact expansion of a double needs at
// most 767 significant digits), limbs from the least significant one.
class DecimalInteger {
 public:
  explicit DecimalInteger(uint64_t value) {
    while (value != 0) {
      limbs_[size_++] = static_cast<uint32_t>(value % kLimbBase);
      value /= kLimbBase;
    }
  }

  // factor * (10^9 - 1) + carry must fit in 64 bits: factor < 2^34.
  void MultiplyBy(uint64_t factor) {
    uint64_t carry = 0;
    for (int i = 0; i < size_; ++i) {
      const uint64_t product = limbs_[i] * factor + carry;
      limbs_[i] = static_cast<uint32_t>(product % kLimbBase);
      carry = product / kLimbBase;
    }
    while (carry != 0) {
      limbs_[size_++] = static_cast<uint32_t>(carry % kLimbBase);
      carry /= kLimbBase;
    }
  }

  void MultiplyByPowerOf2(int exponent) {
    for (; exponent >= 30; exponent -= 30) MultiplyBy(uint64_t{1} << 30);
    if (exponent > 0) MultiplyBy(uint64_t{1} << exponent);
  }

  void MultiplyByPowerOf5(int exponent) {
    constexpr uint64_t kFivePow13 = 1220703125;
    for (; exponent >= 13; exponent -= 13) MultiplyBy(kFivePow13);
    uint64_t rest = 1;
    for (; exponent > 0; --exponent) rest *= 5;
    MultiplyBy(rest);
  }

  // The number of decimal digits (the value is not zero).
  int DigitCount() const {
    int count = 9 * (size_ - 1);
    for (uint32_t top = limbs_[size_ - 1]; top != 0; top /= 10) ++count;
    return count;
  }

  // The first n significant digits, truncated, zeros after the last digit (n <= 18).
  std::string LeadingDigits(int n) const {
    std::string digits = std::to_string(limbs_[size_ - 1]);
    for (int i = size_ - 2; i >= 0 && static_cast<int>(digits.size()) < n; --i) {
      const std::string limb = std::to_string(limbs_[i]);
      digits.append(9 - limb.size(), '0');
      digits.append(limb);
    }
    digits.resize(static_cast<std::size_t>(n), '0');
    return digits;
  }

 private:
  std::array<uint32_t, 100> limbs_{};
  int size_ = 0;
};

uint64_t DigitsValue(const std::string& digits, std::size_t count) {
  uint64_t value = 0;
  for (std::size_t i = 0; i < count; ++i)
    value = value * 10 + static_cast<uint64_t>(digits[i] - '0');
  return value;
}

// The 13 significant digits of |x| (finite, not zero) and the power of ten of the first one.
struct RoundedDigits {
  uint64_t digits;  // 10^12 <= digits < 10^13
  int exponent;
};

RoundedDigits RoundTo13Digits(double x) {
  const auto bits = std::bit_cast<uint64_t>(x);
  const int biased = static_cast<int>((bits >> 52) & 0x7FF);
  uint64_t mantissa = bits & ((uint64_t{1} << 52) - 1);
  int binaryExponent = biased == 0 ? -1074 : biased - 1075;
  if (biased != 0) mantissa |= uint64_t{1} << 52;
  while ((mantissa & 1) == 0 && binaryExponent < 0) {
    mantissa >>= 1;
    ++binaryExponent;
  }

  // |x| = value / 10^scale exactly, where value = mantissa * 2^e or mantissa * 5^-e.
  DecimalInteger value(mantissa);
  int scale = 0;
  if (binaryExponent >= 0) {
    value.MultiplyByPowerOf2(binaryExponent);
  } else {
    value.MultiplyByPowerOf5(-binaryExponent);
    scale = -binaryExponent;
  }
  int exponent = value.DigitCount() - 1 - scale;

  // Half up to 17 digits by the 18th, then that string half up to 13 by its 14th.
  const std::string leading = value.LeadingDigits(18);
  uint64_t digits17 = DigitsValue(leading, 17) + (leading[17] >= '5' ? 1 : 0);
  if (digits17 == 100000000000000000) {
    digits17 /= 10;
    ++exponent;
  }
  uint64_t digits13 = digits17 / 10000 + ((digits17 / 1000) % 10 >= 5 ? 1 : 0);
  if (digits13 == 10000000000000) {
    digits13 /= 10;
    ++exponent;
  }
  return {digits13, exponent};
}

// Drops the zeros at the end of a fraction, and the point when nothing remains after it.
void TrimFraction(std::string& number) {
  if (number.find('.') == std::string::npos) return;
  const std::size_t last = number.find_last_not_of('0');
  number.resize(number[last] == '.' ? last : last + 1);
}

}  // namespace

Text NumberToText(double x) {
  const auto bits = std::bit_cast<uint64_t>(x);
  const bool signBit = (bits >> 63) != 0;
  if (x != x) {
    // The default not-a-number of invalid operations on x86: sign set, top fraction bit only.
    if (bits == 0xFFF8000000000000) return "-1.#IND";
    return signBit ? "-1.#QNAN" : "1.#QNAN";
  }
  if (x == 0) return "0";
  if (x - x != 0) return signBit ? "-1.#INF" : "1.#INF";

  const RoundedDigits rounded = RoundTo13Digits(x);
  const std::string digits = std::to_string(rounded.digits);  // 13 digits
  const int e = rounded.exponent;
  std::string number;
  if (e < -4 || e >= 13) {
    number = digits.substr(0, 1) + "." + digits.substr(1);
    TrimFraction(number);
    const std::string power = std::to_string(e < 0 ? -e : e);
    number += e < 0 ? "e-" : "e+";
    number.append(3 - std::min<std::size_t>(power.size(), 3), '0');
    number += power;
  } else if (e >= 0) {
    number = digits.substr(0, static_cast<std::size_t>(e) + 1) + "." +
             digits.substr(static_cast<std::size_t>(e) + 1);
    TrimFraction(number);
  } else {
    number = "0." + std::string(static_cast<std::size_t>(-e - 1), '0') + digits;
    TrimFraction(number);
  }
  return signBit ? "-" + number : number;
}

Text NumberToText(int32_t n) {
  return std::to_string(n);
}

}  // namespace text
