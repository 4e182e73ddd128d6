// NumberToText of every double: each 8 bytes of the input are one double's bits.
//
// Checked: the text is what the exact reference makes of the double (tests/support), and for a
// finite double reading the text back and printing that again gives the same text.
#include <bit>
#include <cmath>
#include <cstring>

#include "fuzz/fuzz_support.h"
#include "tests/support/number_text_reference.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  for (std::size_t at = 0; at + sizeof(double) <= size; at += sizeof(double)) {
    uint64_t bits = 0;
    std::memcpy(&bits, data + at, sizeof bits);
    const double x = std::bit_cast<double>(bits);
    const text::Text printed = text::NumberToText(x);
    const std::string expected = support::NumberTextReference(x);
    FUZZ_CHECK(printed == expected,
               fuzz::Shown(x) + " printed " + printed + ", expected " + expected);
    if (std::isfinite(x)) {
      const double back = text::ToNumber(printed);
      FUZZ_CHECK(text::NumberToText(back) == printed, printed + " reads back as " +
                                                          fuzz::Shown(back) + ", which prints as " +
                                                          text::NumberToText(back));
    }
  }
  return 0;
}
