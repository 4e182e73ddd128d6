// The stop on Windows: the error box gets the text, and the process ends with exit code -1, which
// Windows reports as it stands, without running any exit routine.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "text/text.h"

namespace text {
namespace {

using ::testing::AllOf;
using ::testing::ExitedWithCode;
using ::testing::HasSubstr;
using ::testing::Not;

void ExitRoutine() {
  std::fputs("exit routine ran\n", stderr);
}

void RecordingBox(const Text& boxText, const Text& caption) {
  std::fprintf(stderr, "box caption [%s] text [%s]\n", caption.c_str(), boxText.c_str());
}

TEST(StopWithErrorWindowsDeathTest, ReadBeyondTheArrayEndsWithMinusOne) {
  const TextArray items = SplitText("1,2,3");
  EXPECT_EXIT(
      {
        std::atexit(ExitRoutine);
        SetStopBox(RecordingBox);
        std::fputs(ArrayItem(items, 4).c_str(), stdout);
        std::fputs("read went on\n", stderr);
      },
      ExitedWithCode(-1),
      AllOf(
          HasSubstr(
              "box caption [错误] text [运行时出错!\n\n错误代码：1\n数组成员引用下标超出定义范围]"),
          Not(HasSubstr("exit routine ran")), Not(HasSubstr("read went on"))));
}

}  // namespace
}  // namespace text
