// Throughput of the character-wise scans over synthetic GBK grade pages of 64 KiB, 1 MiB and
// 16 MiB: table rows with Chinese course names, tags, spaces, full-width spaces and CR LF.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>

#include "text/text.h"

namespace {

using text::Text;

constexpr const char* kMarker = "<!--课程成绩明细-->";

// A page of about the given size; the marker stands at four places spread over it.
Text SyntheticPage(std::size_t size) {
  static const char* const kNames[] = {
      "形势与政策", "高等数学Ａ", "大学英语（二）", "程序设计基础", "马克思主义基本原理概论",
      "体育　２"};
  static const char* const kWords[] = {"优秀", "良好", "中等", "及格", "85", "92.5", "７８"};
  std::mt19937 rng(42);
  Text page = "<html><head><title>成绩查询</title></head><body><table>\r\n";
  while (page.size() < size) {
    page += "<tr class=\"odd\">\r\n  <td align=\"center\">";
    page += kNames[rng() % 6];
    page += "</td>\r\n  <td align=\"center\">必修 </td>\r\n  <td align=\"center\">";
    page += text::NumberToText(static_cast<int32_t>(1 + rng() % 6));
    page += "</td>\r\n  <td align=\"center\">\r\n  ";
    page += kWords[rng() % 7];
    page += "\r\n  </td>\r\n</tr>\r\n";
  }
  page.resize(size);
  // Each marker begins a line, so it stands at a character boundary.
  for (int i = 1; i <= 4; ++i) page.insert(page.find("\r\n", size / 5 * i) + 2, kMarker);
  return page;
}

const Text& Page(std::size_t size) {
  static Text small = SyntheticPage(64 << 10), medium = SyntheticPage(1 << 20),
              large = SyntheticPage(16 << 20);
  return size == (64 << 10) ? small : size == (1 << 20) ? medium : large;
}

void Finish(benchmark::State& state, std::size_t size) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(size));
}

void BM_FindTextEveryMarker(benchmark::State& state) {
  const Text& page = Page(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    int found = 0;
    for (int32_t p = text::FindText(page, kMarker, 1, false); p != -1;
         p = text::FindText(page, kMarker, p + 1, false)) {
      ++found;
    }
    benchmark::DoNotOptimize(found);
    if (found != 4) state.SkipWithError("the marker must be found four times");
  }
  Finish(state, page.size());
}

void BM_FindTextIgnoreCase(benchmark::State& state) {
  const Text& page = Page(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    benchmark::DoNotOptimize(text::FindText(page, "</TABLE>", 1, true));
  }
  Finish(state, page.size());
}

void BM_FindTextReverse(benchmark::State& state) {
  const Text& page = Page(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    benchmark::DoNotOptimize(text::FindTextReverse(page, kMarker, std::nullopt, false));
  }
  Finish(state, page.size());
}

void BM_ReplaceSubtextTags(benchmark::State& state) {
  const Text& page = Page(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    benchmark::DoNotOptimize(text::ReplaceSubtext(page, "</td>", "", 1, text::kAllMatches, true));
  }
  Finish(state, page.size());
}

void BM_RemoveAllSpaces(benchmark::State& state) {
  const Text& page = Page(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(text::RemoveAllSpaces(page));
  Finish(state, page.size());
}

void BM_SplitTextLines(benchmark::State& state) {
  const Text& page = Page(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(text::SplitText(page, "\r\n"));
  Finish(state, page.size());
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->Arg(64 << 10)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_FindTextEveryMarker)->Apply(Sizes);
BENCHMARK(BM_FindTextIgnoreCase)->Apply(Sizes);
BENCHMARK(BM_FindTextReverse)->Apply(Sizes);
BENCHMARK(BM_ReplaceSubtextTags)->Apply(Sizes);
BENCHMARK(BM_RemoveAllSpaces)->Apply(Sizes);
BENCHMARK(BM_SplitTextLines)->Apply(Sizes);

}  // namespace

BENCHMARK_MAIN();
