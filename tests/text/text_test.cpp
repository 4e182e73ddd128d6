#include "text/text.h"

#include <gtest/gtest.h>

namespace text {
namespace {

TEST(TextLength, CountsBytesTwoPerChineseCharacter) {
  EXPECT_EQ(TextLength(""), 0);
  EXPECT_EQ(TextLength("abc"), 3);
  EXPECT_EQ(TextLength("形势与政策"), 10);
}

}  // namespace
}  // namespace text
