// A compiler launcher that gives clang the narrow execution character set GBK (code page 936).
//
// The program's sources are UTF-8 and every ordinary string literal must hold GBK bytes at run
// time; g++ does that with -fexec-charset=CP936, which clang does not offer. Run as
//   gbk-compile <clang++> <arguments of one compile, "-c <source>" among them>
// it preprocesses the source with the same arguments (which writes the dependency file), turns
// every non-ASCII character and every \u escape of an ordinary string or character literal into
// octal escapes of its GBK bytes (the conversion g++ makes, through the same iconv table), and
// compiles the result with the same arguments. Prefixed literals (u8, u, U, L) and raw strings
// stay as they are; a character that GBK lacks is an error, as it is for g++.
// Any command without "-c" runs unchanged.
#include <iconv.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Args = std::vector<std::string>;

int Run(const Args& args) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
    std::cerr << "gbk-compile: cannot start " << args[0] << ": " << std::strerror(errno) << "\n";
    return 127;
  }
  int status = 0;
  while (waitpid(pid, &status, 0) == -1) {
    if (errno != EINTR) return 127;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

class Converter {
 public:
  Converter() : iconv_(iconv_open("CP936", "UTF-8")) {}
  ~Converter() {
    if (iconv_ != reinterpret_cast<iconv_t>(-1)) iconv_close(iconv_);
  }
  bool Usable() const { return iconv_ != reinterpret_cast<iconv_t>(-1); }

  // The preprocessed translation unit with its ordinary literals in GBK; false after an error,
  // which has been reported.
  bool Convert(const std::string& in, std::string& out) {
    in_ = &in;
    out_ = &out;
    i_ = 0;
    bool atLineStart = true;
    while (i_ < in.size()) {
      const char c = in[i_];
      if (c == '\n') {
        out.push_back(in[i_++]);
        ++line_;
        atLineStart = true;
        continue;
      }
      if (atLineStart && (c == ' ' || c == '\t')) {
        out.push_back(in[i_++]);
        continue;
      }
      if (atLineStart && c == '#') {
        CopyDirective();
        continue;
      }
      atLineStart = false;
      if (c == '/' && Next() == '/') {
        CopyUntil("\n");
      } else if (c == '/' && Next() == '*') {
        CopyUntil("*/", true);
      } else if (IsIdentifierStart(c)) {
        if (!Identifier()) return false;
      } else if (IsDigit(c) || (c == '.' && IsDigit(Next()))) {
        CopyNumber();
      } else if (c == '"' || c == '\'') {
        if (!Literal(true)) return false;
      } else {
        out.push_back(in[i_++]);
      }
    }
    return true;
  }

 private:
  char At(std::size_t k) const { return k < in_->size() ? (*in_)[k] : '\0'; }
  char Next() const { return At(i_ + 1); }

  static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
  static bool IsIdentifierStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
  }
  static bool IsIdentifierByte(char c) { return IsIdentifierStart(c) || IsDigit(c); }

  // An identifier; when it is a literal's encoding prefix, the literal after it too.
  bool Identifier() {
    std::size_t end = i_;
    while (end < in_->size() && IsIdentifierByte((*in_)[end])) ++end;
    const std::string word = in_->substr(i_, end - i_);
    out_->append(word);
    i_ = end;
    const char quote = At(i_);
    if (quote != '"' && quote != '\'') return true;
    if (word == "u8" || word == "u" || word == "U" || word == "L") return Literal(false);
    if (quote == '"' &&
        (word == "R" || word == "u8R" || word == "uR" || word == "UR" || word == "LR")) {
      return RawString(word == "R");
    }
    return true;
  }

  // A preprocessing number, digit separators and exponent signs included: 1'000, 0x1p-3.
  void CopyNumber() {
    std::size_t end = i_ + 1;
    for (;;) {
      const char c = At(end);
      const char before = (*in_)[end - 1];
      if (IsIdentifierByte(c) || c == '.') {
        ++end;
      } else if (c == '\'' && IsIdentifierByte(At(end + 1))) {
        end += 2;
      } else if ((c == '+' || c == '-') &&
                 (before == 'e' || before == 'E' || before == 'p' || before == 'P')) {
        ++end;
      } else {
        break;
      }
    }
    out_->append(*in_, i_, end - i_);
    i_ = end;
  }

  void CopyUntil(const std::string& end, bool includeEnd = false) {
    const std::size_t found = in_->find(end, i_ + 1);
    const std::size_t stop =
        found == std::string::npos ? in_->size() : found + (includeEnd ? end.size() : 0);
    CopyTo(stop);
  }

  void CopyTo(std::size_t stop) {
    for (std::size_t k = i_; k < stop; ++k) {
      if ((*in_)[k] == '\n') ++line_;
    }
    out_->append(*in_, i_, stop - i_);
    i_ = stop;
  }

  // A line marker (# 12 "file" flags) sets the position for messages; it and any other
  // directive is copied unchanged.
  void CopyDirective() {
    const std::size_t end = std::min(in_->find('\n', i_), in_->size());
    const std::string directive = in_->substr(i_, end - i_);
    int number = 0;
    char name[4096] = "";
    if (std::sscanf(directive.c_str(), "# %d \"%4095[^\"]\"", &number, name) == 2) {
      line_ = number - 1;  // the marker's own line feed counts next
      file_ = name;
    }
    out_->append(directive);
    i_ = end;
  }

  bool Error(const std::string& what) {
    std::cerr << file_ << ":" << line_ << ": error: " << what << "\n";
    return false;
  }

  // Appends the GBK bytes of the UTF-8 text as octal escapes (three digits each, so a digit
  // after them stays a character of its own).
  bool AppendGbk(const std::string& utf8) {
    std::string gbk(utf8.size() * 2 + 8, '\0');
    char* inPtr = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    char* outPtr = gbk.data();
    std::size_t outLeft = gbk.size();
    iconv(iconv_, nullptr, nullptr, nullptr, nullptr);
    if (iconv(iconv_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
      return Error("converting to execution character set: \"" + utf8 + "\" has no GBK form (" +
                   std::strerror(errno) + ")");
    }
    gbk.resize(gbk.size() - outLeft);
    for (const unsigned char b : gbk) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\%03o", b);
      out_->append(escape);
    }
    return true;
  }

  static std::string Utf8(unsigned long code) {
    std::string s;
    if (code < 0x80) {
      s.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
      s.push_back(static_cast<char>(0xC0 | (code >> 6)));
      s.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
      s.push_back(static_cast<char>(0xE0 | (code >> 12)));
      s.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      s.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
      s.push_back(static_cast<char>(0xF0 | (code >> 18)));
      s.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
      s.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      s.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
    return s;
  }

  // R"delim( ... )delim", copied unchanged; an ordinary one must then be ASCII.
  bool RawString(bool ordinary) {
    const std::size_t open = in_->find('(', i_);
    if (open == std::string::npos) return Error("unterminated raw string");
    const std::string close = ")" + in_->substr(i_ + 1, open - i_ - 1) + "\"";
    const std::size_t end = in_->find(close, open);
    if (end == std::string::npos) return Error("unterminated raw string");
    const std::size_t stop = end + close.size();
    for (std::size_t k = i_; ordinary && k < stop; ++k) {
      if (static_cast<unsigned char>((*in_)[k]) >= 0x80) {
        return Error("a raw string literal with non-ASCII characters has no GBK form here");
      }
    }
    CopyTo(stop);
    return true;
  }

  // The string or character literal whose opening quote is at i_; convert: an ordinary one.
  bool Literal(bool convert) {
    const std::string& in = *in_;
    const char quote = in[i_];
    out_->push_back(in[i_++]);
    while (i_ < in.size() && in[i_] != quote) {
      const unsigned char c = static_cast<unsigned char>(in[i_]);
      if (c == '\n') return Error("unterminated literal");
      if (c == '\\' && convert && (Next() == 'u' || Next() == 'U')) {
        const std::size_t digits = Next() == 'u' ? 4 : 8;
        const std::string hex = in.substr(i_ + 2, digits);
        if (hex.size() != digits ||
            hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
          return Error("malformed universal character name");
        }
        if (!AppendGbk(Utf8(std::stoul(hex, nullptr, 16)))) return false;
        i_ += 2 + digits;
      } else if (c == '\\') {
        out_->append(in, i_, 2);
        i_ += 2;
      } else if (c >= 0x80 && convert) {
        std::size_t end = i_;
        while (end < in.size() && static_cast<unsigned char>(in[end]) >= 0x80) ++end;
        if (!AppendGbk(in.substr(i_, end - i_))) return false;
        i_ = end;
      } else {
        out_->push_back(in[i_++]);
      }
    }
    if (i_ >= in.size()) return Error("unterminated literal");
    out_->push_back(in[i_++]);
    return true;
  }

  iconv_t iconv_;
  const std::string* in_ = nullptr;
  std::string* out_ = nullptr;
  std::size_t i_ = 0;
  std::string file_ = "<source>";
  int line_ = 1;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: gbk-compile <compiler> <arguments>\n";
    return 2;
  }
  const Args args(argv + 1, argv + argc);
  std::size_t source = 0, object = 0;
  for (std::size_t k = 1; k + 1 < args.size(); ++k) {
    if (args[k] == "-c") source = k + 1;
    if (args[k] == "-o") object = k + 1;
  }
  if (source == 0 || object == 0) return Run(args);

  const std::string preprocessed = args[object] + ".ii";
  const std::string converted = args[object] + ".gbk.ii";

  // 1. Preprocess, with the dependency flags, so the build learns every header.
  Args preprocess = args;
  preprocess[source - 1] = "-E";
  preprocess[object] = preprocessed;
  if (const int rc = Run(preprocess); rc != 0) return rc;

  // 2. The literals to GBK.
  std::stringstream buffer;
  buffer << std::ifstream(preprocessed, std::ios::binary).rdbuf();
  std::remove(preprocessed.c_str());
  std::string out;
  Converter converter;
  if (!converter.Usable()) {
    std::cerr << "gbk-compile: iconv has no UTF-8 to CP936 conversion\n";
    return 1;
  }
  if (!converter.Convert(buffer.str(), out)) return 1;
  std::ofstream outFile(converted, std::ios::binary | std::ios::trunc);
  outFile << out;
  outFile.close();
  if (!outFile) {
    std::cerr << "gbk-compile: cannot write " << converted << "\n";
    return 1;
  }

  // 3. Compile the converted unit with every other argument as given; the preprocessor's own
  // (-I, -D) have done their work and are not reported as unused.
  Args compile{args[0], "-Wno-unused-command-line-argument"};
  for (std::size_t k = 1; k < args.size(); ++k) {
    const std::string& a = args[k];
    if (a == "-MD" || a == "-MMD") continue;
    if (a == "-MT" || a == "-MF" || a == "-MQ") {
      ++k;
      continue;
    }
    if (k == source) {
      compile.insert(compile.end(), {"-x", "c++-cpp-output", converted});
      continue;
    }
    compile.push_back(a);
  }
  const int rc = Run(compile);
  std::remove(converted.c_str());
  return rc;
}
