// The stop: a read beyond a TextArray shows the error box and ends the process with -1 (255
// as the parent sees it), without running any exit routine.
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

const Text kStopText = "运行时出错!\n\n错误代码：1\n数组成员引用下标超出定义范围";

void ExitRoutine() {
  std::fputs("exit routine ran\n", stderr);
}

// Stands in for the windowing layer's message box: reports what it was given on stderr.
void RecordingBox(const Text& boxText, const Text& caption) {
  std::fprintf(stderr, "box caption [%s] text [%s]\n", caption.c_str(), boxText.c_str());
}

TEST(ArrayItemDeathTest, BeyondTheCountStopsWithCodeOneOnStandardError) {
  const TextArray items = SplitText("1,2,3,4,5,6,7,8");
  ASSERT_EQ(items.size(), 8u);
  EXPECT_EXIT(
      {
        std::atexit(ExitRoutine);
        std::fputs(ArrayItem(items, 9).c_str(), stdout);
        std::fputs("read went on\n", stderr);
      },
      ExitedWithCode(255),
      AllOf(HasSubstr("错误: " + kStopText), Not(HasSubstr("exit routine ran")),
            Not(HasSubstr("read went on"))));
}

TEST(ArrayItemDeathTest, IndexBelowOneStopsToo) {
  const TextArray items = {"a"};
  EXPECT_EXIT(ArrayItem(items, 0), ExitedWithCode(255), HasSubstr(kStopText));
  EXPECT_EXIT(ArrayItem(TextArray{}, 1), ExitedWithCode(255), HasSubstr(kStopText));
}

TEST(StopWithErrorDeathTest, InstalledBoxGetsTextAndCaptionThenProcessEnds) {
  EXPECT_EXIT(
      {
        std::atexit(ExitRoutine);
        SetStopBox(RecordingBox);
        StopWithError(7, "消息");
      },
      ExitedWithCode(255),
      AllOf(HasSubstr("box caption [错误] text [运行时出错!\n\n错误代码：7\n消息]"),
            Not(HasSubstr("exit routine ran"))));
}

TEST(StopWithErrorDeathTest, NullBoxRestoresTheStandardErrorText) {
  EXPECT_EXIT(
      {
        SetStopBox(RecordingBox);
        SetStopBox(nullptr);
        StopWithError(1, "数组成员引用下标超出定义范围");
      },
      ExitedWithCode(255), AllOf(HasSubstr("错误: " + kStopText), Not(HasSubstr("box caption"))));
}

}  // namespace
}  // namespace text
