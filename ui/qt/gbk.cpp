#include "ui/qt/gbk.h"

#include <iconv.h>

#include <bit>
#include <cerrno>

namespace ui {
namespace {

constexpr const char* kUtf16 = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

// One iconv descriptor for one call; closed on every road.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts as much of [in, in + inLeft) as it can into out; returns errno of the stop (0 when
  // all input was taken). The pointers and counts move past what was converted.
  int Step(char*& in, size_t& inLeft, char*& out, size_t& outLeft) {
    if (iconv(cd_, &in, &inLeft, &out, &outLeft) == static_cast<size_t>(-1)) return errno;
    return 0;
  }

 private:
  iconv_t cd_;
};

bool IsLeadByte(char c) {
  const auto b = static_cast<unsigned char>(c);
  return b >= 0x81 && b <= 0xFE;
}

bool IsTrailByte(char c) {
  const auto b = static_cast<unsigned char>(c);
  return b >= 0x40 && b <= 0xFE && b != 0x7F;
}

}  // namespace

QString GbkToQString(const text::Text& gbk) {
  if (gbk.empty()) return {};
  Converter converter(kUtf16, "CP936");
  if (!converter.ok()) return QString::fromLatin1(gbk.data(), static_cast<qsizetype>(gbk.size()));

  // Every input byte yields at most one UTF-16 unit (two-byte characters are in the BMP).
  std::u16string units(gbk.size(), u'\0');
  char* in = const_cast<char*>(gbk.data());
  size_t inLeft = gbk.size();
  char* outStart = reinterpret_cast<char*>(units.data());
  char* out = outStart;
  size_t outLeft = units.size() * sizeof(char16_t);
  while (inLeft > 0) {
    const int stop = converter.Step(in, inLeft, out, outLeft);
    if (stop == 0) break;
    if (stop != EILSEQ && stop != EINVAL) break;  // E2BIG cannot happen: the room is enough
    // Not GBK here: one replacement character, then carry on after it. A high byte with a byte
    // of the trail range after it is an unmapped two-byte character and is skipped whole, so
    // the characters after it stay in step; any other byte is skipped alone.
    *reinterpret_cast<char16_t*>(out) = u'\uFFFD';
    out += sizeof(char16_t);
    outLeft -= sizeof(char16_t);
    const size_t skip = inLeft >= 2 && IsLeadByte(in[0]) && IsTrailByte(in[1]) ? 2 : 1;
    in += skip;
    inLeft -= skip;
  }
  const auto count = static_cast<qsizetype>((out - outStart) / sizeof(char16_t));
  return QString(reinterpret_cast<const QChar*>(units.data()), count);
}

text::Text QStringToGbk(const QString& utf16) {
  if (utf16.isEmpty()) return {};
  Converter converter("CP936", kUtf16);
  if (!converter.ok()) return {};

  // At most two GBK bytes for each UTF-16 unit; a "?" takes one byte for one or two units.
  std::string result(static_cast<size_t>(utf16.size()) * 2, '\0');
  char* in = reinterpret_cast<char*>(const_cast<QChar*>(utf16.constData()));
  size_t inLeft = static_cast<size_t>(utf16.size()) * sizeof(char16_t);
  char* out = result.data();
  size_t outLeft = result.size();
  while (inLeft > 0) {
    const int stop = converter.Step(in, inLeft, out, outLeft);
    if (stop == 0) break;
    if (stop != EILSEQ && stop != EINVAL) break;
    // A character GBK lacks (or a broken surrogate): one "?" for the whole character.
    const auto unit = *reinterpret_cast<const char16_t*>(in);
    const bool pair = QChar::isHighSurrogate(unit) && inLeft >= 2 * sizeof(char16_t) &&
                      QChar::isLowSurrogate(*reinterpret_cast<const char16_t*>(in + 2));
    const size_t skip = (pair ? 2 : 1) * sizeof(char16_t);
    in += skip;
    inLeft -= skip;
    *out++ = '?';
    --outLeft;
  }
  result.resize(static_cast<size_t>(out - result.data()));
  for (char& c : result) {
    if (c == '\0') c = '?';  // U+0000: a Text never holds a zero byte
  }
  return result;
}

}  // namespace ui
