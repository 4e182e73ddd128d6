// What the fuzz targets share: the check that turns a broken property into a finding, the input
// cut into texts, the character rule of the texts, and a readable form of bytes for messages.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "text/text.h"

// The pages are compared with the program's own literals, which must be GBK here as in the
// program; a build without the conversion fails at this line.
static_assert(sizeof("登录") == 5 && "登录"[0] == '\xB5' && "登录"[1] == '\xC7' &&
              "登录"[2] == '\xC2' && "登录"[3] == '\xBC');

namespace fuzz {

// Reports the broken property and aborts, which libFuzzer records as a crash with its input.
[[noreturn]] inline void Fail(const char* condition, const char* file, int line,
                              const std::string& detail) {
  std::fprintf(stderr, "%s:%d: check failed: %s\n%s\n", file, line, condition, detail.c_str());
  std::abort();
}

// detail is evaluated only when the check fails.
#define FUZZ_CHECK(condition, detail) \
  ((condition) ? (void)0 : ::fuzz::Fail(#condition, __FILE__, __LINE__, (detail)))

// Printable ASCII as it is, every other byte as \xNN.
inline std::string Shown(const std::string& bytes) {
  std::string shown = "\"";
  for (const unsigned char c : bytes) {
    if (c >= 0x20 && c < 0x7F && c != '\\' && c != '"') {
      shown.push_back(static_cast<char>(c));
    } else {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", c);
      shown += escape;
    }
  }
  return shown + "\"";
}

inline std::string Shown(double x) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.17g (%a)", x, x);
  return buffer;
}

// The input as texts: the pieces between zero bytes, which no text holds. The first count
// pieces; missing ones are empty, further ones are ignored.
inline std::vector<text::Text> InputTexts(const uint8_t* data, std::size_t size,
                                          std::size_t count) {
  std::vector<text::Text> pieces(count);
  std::size_t piece = 0;
  for (std::size_t i = 0; i < size && piece < count; ++i) {
    if (data[i] == 0) {
      ++piece;
    } else {
      pieces[piece].push_back(static_cast<char>(data[i]));
    }
  }
  return pieces;
}

// Equal bit for bit: the same value computed the same way, NaN and the sign of zero included.
inline bool SameBits(double a, double b) {
  return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b);
}

// Calls visit(index) for the 0-based index of every character start of text, by the texts' rule:
// a byte from 0x80 up starts a two-byte character; a high last byte starts none.
template <typename Visit>
void ForEachCharacter(const text::Text& text, Visit visit) {
  for (std::size_t i = 0; i < text.size();) {
    const bool high = static_cast<unsigned char>(text[i]) >= 0x80;
    if (high && i + 1 == text.size()) return;
    visit(i);
    i += high ? 2 : 1;
  }
}

// Whether a character of text starts with the byte c.
inline bool HasCharacter(const text::Text& text, char c) {
  bool found = false;
  ForEachCharacter(text, [&](std::size_t i) { found = found || text[i] == c; });
  return found;
}

}  // namespace fuzz
