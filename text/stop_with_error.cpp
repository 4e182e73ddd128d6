// The one stop of the program: the array read beyond its count ends here.
#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "text/text.h"

namespace text {

namespace {

std::atomic<StopBox> installedBox{nullptr};

}  // namespace

const Text& ArrayItem(const TextArray& array, int32_t i) {
  // Every index the program reads is a constant from 1 on; one below is stopped the same way
  // rather than read out of bounds.
  if (i < 1 || static_cast<std::size_t>(i) > array.size()) {
    StopWithError(1, "数组成员引用下标超出定义范围");
  }
  return array[static_cast<std::size_t>(i) - 1];
}

void SetStopBox(StopBox box) {
  installedBox.store(box);
}

void StopWithError(int32_t code, const Text& message) {
  const Text caption = "错误";
  const Text boxText =
      JoinTexts(Text("运行时出错!\n\n错误代码："), NumberToText(code), Text("\n"), message);
  if (const StopBox box = installedBox.load(); box != nullptr) {
    box(boxText, caption);
  } else {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), boxText.c_str());
  }
  std::fflush(stderr);
  // No exit routine and no destructor may run: the process ends here.
  std::_Exit(-1);
}

}  // namespace text
