#include "text/text.h"

namespace text {

int32_t TextLength(const Text& text) {
  return static_cast<int32_t>(text.size());
}

bool TextEquals(const Text& a, const Text& b) {
  return a == b;
}

}  // namespace text
