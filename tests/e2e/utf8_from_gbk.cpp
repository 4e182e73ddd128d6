#include "tests/e2e/utf8_from_gbk.h"

#include <iconv.h>

#include <memory>

#include "tests/e2e/child_process.h"

namespace e2e {

std::string Utf8FromGbk(const std::string& gbk) {
  iconv_t converter = iconv_open("UTF-8", "CP936");
  if (converter == reinterpret_cast<iconv_t>(-1)) throw HarnessError("no CP936 converter");
  const std::unique_ptr<void, int (*)(iconv_t)> closer(converter, iconv_close);
  std::string in = gbk;
  std::string out(gbk.size() * 3 / 2 + 4, '\0');
  char* from = in.data();
  size_t fromLeft = in.size();
  char* to = out.data();
  size_t toLeft = out.size();
  if (iconv(converter, &from, &fromLeft, &to, &toLeft) == static_cast<size_t>(-1)) {
    throw HarnessError("not GBK: " + gbk);
  }
  out.resize(out.size() - toLeft);
  return out;
}

}  // namespace e2e
