// ToNumber on arbitrary text (the input up to its first zero byte).
//
// Checked: never NaN; the same number from the half-width form, whose making is idempotent; an
// ASCII text and its full-width form read the same; a leading space changes nothing, a sign
// before a number negates it or keeps it; a plain ASCII decimal reads as strtod reads it in the
// C locale (the exponent letters d and D read as e).
#include <cmath>
#include <cstdlib>

#include "fuzz/fuzz_support.h"

namespace {

using text::Text;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsSkipped(char c) {
  return c == ' ' || (c >= 0x09 && c <= 0x0D);
}

bool IsAscii(const Text& t) {
  for (const char c : t) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// Skipped bytes, a sign, 1 to 20 digits with at most one point, then perhaps an exponent letter
// with an optional sign and up to 4 digits, and nothing after: what strtod reads the same way.
bool IsPlainDecimal(const Text& t) {
  std::size_t i = 0;
  const std::size_t n = t.size();
  while (i < n && IsSkipped(t[i])) ++i;
  if (i < n && (t[i] == '+' || t[i] == '-')) ++i;
  int digits = 0;
  bool point = false;
  for (; i < n; ++i) {
    if (IsDigit(t[i])) {
      ++digits;
    } else if (t[i] == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (digits == 0 || digits > 20) return false;
  if (i < n && (t[i] == 'e' || t[i] == 'E' || t[i] == 'd' || t[i] == 'D')) {
    ++i;
    if (i < n && (t[i] == '+' || t[i] == '-')) ++i;
    int exponentDigits = 0;
    for (; i < n && IsDigit(t[i]); ++i) ++exponentDigits;
    if (exponentDigits > 4) return false;
  }
  return i == n;
}

// The full-width form of an ASCII text: printable characters become A3 xx, the space A1 A1.
Text FullWidth(const Text& t) {
  Text wide;
  for (const char c : t) {
    if (c == ' ') {
      wide += "\xA1\xA1";
    } else if (c >= 0x21 && c <= 0x7E) {
      wide.push_back('\xA3');
      wide.push_back(static_cast<char>(c + 0x80));
    } else {
      wide.push_back(c);
    }
  }
  return wide;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const Text t = fuzz::InputTexts(data, size, 1)[0];
  const double value = text::ToNumber(t);
  const std::string context = fuzz::Shown(t) + " reads as " + fuzz::Shown(value);

  FUZZ_CHECK(!std::isnan(value), context);
  const Text half = text::ToHalfWidth(t);
  FUZZ_CHECK(text::ToHalfWidth(half) == half, context + ", half-width " + fuzz::Shown(half));
  FUZZ_CHECK(fuzz::SameBits(text::ToNumber(half), value), context);
  FUZZ_CHECK(fuzz::SameBits(text::ToNumber(" " + t), value), context);

  if (!t.empty() && (IsDigit(t[0]) || (t[0] == '.' && t.size() > 1 && IsDigit(t[1])))) {
    FUZZ_CHECK(fuzz::SameBits(text::ToNumber("-" + t), -value), context);
    FUZZ_CHECK(fuzz::SameBits(text::ToNumber("+" + t), value), context);
  }

  if (IsAscii(t)) {
    const Text wide = FullWidth(t);
    FUZZ_CHECK(text::ToHalfWidth(wide) == t, fuzz::Shown(wide));
    FUZZ_CHECK(fuzz::SameBits(text::ToNumber(wide), value),
               context + ", full-width " + fuzz::Shown(wide));
  }

  if (IsPlainDecimal(t)) {
    Text forStrtod = t;
    for (char& c : forStrtod) {
      if (c == 'd' || c == 'D') c = 'e';
    }
    const double expected = std::strtod(forStrtod.c_str(), nullptr);
    FUZZ_CHECK(fuzz::SameBits(value, expected), context + ", strtod " + fuzz::Shown(expected));
  }
  return 0;
}
