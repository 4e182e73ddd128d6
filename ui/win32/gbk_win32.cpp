#include "ui/win32/gbk_win32.h"

#include <windows.h>

namespace ui {

namespace {
constexpr UINT kGbk = 936;
}

std::wstring GbkToWide(const text::Text& gbk) {
  if (gbk.empty()) return {};
  const int length = static_cast<int>(gbk.size());
  const int units = MultiByteToWideChar(kGbk, 0, gbk.data(), length, nullptr, 0);
  if (units <= 0) return {};
  std::wstring wide(static_cast<size_t>(units), L'\0');
  MultiByteToWideChar(kGbk, 0, gbk.data(), length, wide.data(), units);
  return wide;
}

text::Text WideToGbk(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int length = static_cast<int>(wide.size());
  const int bytes = WideCharToMultiByte(kGbk, 0, wide.data(), length, nullptr, 0, "?", nullptr);
  if (bytes <= 0) return {};
  std::string gbk(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(kGbk, 0, wide.data(), length, gbk.data(), bytes, "?", nullptr);
  // A Text holds no zero byte: U+0000 goes the way of every other character GBK lacks.
  for (char& c : gbk) {
    if (c == '\0') c = '?';
  }
  return gbk;
}

}  // namespace ui
