// Writes the seed corpora of the fuzz targets, one folder per target, from the fixture pages of
// the tests: fuzz_make_seeds <folder>. The seeds are kept in the repository; run this again when
// the fixtures or the targets' input layout change.
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "tests/support/grade_fixtures.h"

namespace {

using text::Text;

std::filesystem::path root;

void Write(const std::string& target, const std::string& name, const std::string& bytes) {
  const std::filesystem::path folder = root / target;
  std::filesystem::create_directories(folder);
  std::ofstream(folder / name, std::ios::binary | std::ios::trunc) << bytes;
}

// Texts separated by zero bytes, as the targets cut their input.
std::string Pieces(const std::vector<Text>& texts) {
  std::string joined;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (i > 0) joined.push_back('\0');
    joined += texts[i];
  }
  return joined;
}

std::string Doubles(const std::vector<double>& values) {
  std::string bytes;
  for (const double v : values) {
    const uint64_t bits = std::bit_cast<uint64_t>(v);
    bytes.append(reinterpret_cast<const char*>(&bits), sizeof bits);
  }
  return bytes;
}

void GradePageSeeds() {
  const Text entry = support::PlanEntryPage({"lnjhqkAction.do?oper=lnjhqk&lnjhdm=2011"});
  const Text plan = support::PlanPage({
      {"军事理论", "2", "92"},
      {"心理健康教育", "1", ""},
      {"大学体育(一)", "1", "0"},
  });
  const Text page = support::GradePage(std::vector<support::FixtureCourse>{
      {"高等数学(上)", "5", "必修", "88"},
      {"军事理论", "2", "必修", "优秀"},
      {"形势与政策(一)", "2", "必修", "85"},
      {"心理健康教育", "1", "选修", "良好"},
      {"大学体育(一)", "1", "必修", "及格"},
      {"创新创业基础", "1", "选修", "合格"},
      {"数据结构", "4.5", "必修", "86.5"},
  });
  Write("fuzz_grade_page", "courses_with_words", Pieces({page, entry, plan}));
  Write("fuzz_grade_page", "numbers_only",
        Pieces({support::GradePage(std::vector<support::FixtureCourse>{
            {"线性代数", "3", "必修", "92"}, {"电影欣赏", "1.5", "公选", "99"}})}));

  // Rows the parser must survive: too few lines, an unclosed tag, entities and spaces in the
  // name, an upper-case cell tag, and a marker without "</tr>" at the end.
  std::vector<Text> oddLines = support::GradeRowLines({"高等 数学&nbsp;", "3", "必修", "优秀"});
  oddLines[10] = "<TD ALIGN=\"center\">";
  std::vector<Text> unclosed = support::GradeRowLines({"离散数学", "3", "必修", "90"});
  unclosed[20] = "    <p align=\"center\"";
  const Text rows = support::GradeRow(std::vector<Text>{"", "<td>", "only a few lines", "</td>"}) +
                    support::GradeRow(oddLines) + support::GradeRow(unclosed) +
                    support::kFixtureRowMarker + "\r\n<td align=\"center\">\r\n";
  Write("fuzz_grade_page", "odd_rows",
        Pieces({support::GradePage(std::vector<Text>{rows}),
                support::PlanEntryPage({"first.jsp", "plan.jsp"}),
                support::PlanPage({{"高等数学", "3", "75"}})}));
}

void ZeroScoreSeeds() {
  const Text entry = support::PlanEntryPage({"plan.jsp"});
  const Text plan = support::PlanPage({
      {"军事理论", "2", "92"},
      {"心理健康教育", "1", ""},
      {"社会实践", "2", "0"},
      {"形势与政策(二)", "1", "优秀"},
  });
  Write("fuzz_zero_score", "number_on_plan", Pieces({"军事理论", "优秀", entry, plan}));
  Write("fuzz_zero_score", "empty_cell", Pieces({"心理健康教育", "良好", entry, plan}));
  Write("fuzz_zero_score", "zero_cell", Pieces({"社会实践", "及格", entry, plan}));
  Write("fuzz_zero_score", "word_cell", Pieces({"形势与政策(二)", "中等", entry, plan}));
  Write("fuzz_zero_score", "not_on_plan", Pieces({"创新创业基础", "合格", entry, plan}));
  Write("fuzz_zero_score", "two_frames",
        Pieces({"军事理论", "优", support::PlanEntryPage({"a.jsp", "plan.jsp"}), plan}));
  Write("fuzz_zero_score", "no_frame",
        Pieces({"军事理论", "不及格", "<html><body>no frame</body></html>", plan}));
}

void ToNumberSeeds() {
  const std::vector<Text> numbers = {"85",
                                     " 85.5",
                                     "８５．５",
                                     "85分",
                                     "优秀",
                                     "-3",
                                     ".5",
                                     "5.",
                                     "1e-007",
                                     "2d2",
                                     "1e",
                                     "0x10",
                                     "+-3",
                                     "- 5",
                                     "\t\r\n 7",
                                     "　12",
                                     "1.7976931348623157e308",
                                     "4.9406564584124654e-324",
                                     "1e999",
                                     "1e-400",
                                     "－２．５Ｅ＋３",
                                     "12345678901234567890123e-3"};
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    Write("fuzz_to_number", "number_" + std::to_string(i + 1), numbers[i]);
  }
}

void NumberToTextSeeds() {
  // The not-a-numbers by their bits: what a compiler folds 0/0 into need not be what the
  // processor makes of it at run time.
  const auto bits = [](uint64_t b) { return std::bit_cast<double>(b); };
  Write("fuzz_number_to_text", "examples",
        Doubles({0, 0.25, 1.625, 3.8, 85.5, 250.0 / 3, 49.0 / 15, 0.0000001, 0.00001, 0.0001,
                 1234567, 123456789012, 10000000000000, 12345678901234, 9.99999999999999, -2.5,
                 472.98681640625, 442609.0 / 8278}));
  Write("fuzz_number_to_text", "special",
        Doubles({bits(0xFFF8000000000000), bits(0x7FF8000000000000), bits(0xFFF8000000000001),
                 bits(0x7FF0000000000001), std::numeric_limits<double>::infinity(),
                 -std::numeric_limits<double>::infinity(), -0.0,
                 std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::min(),
                 std::numeric_limits<double>::max(), std::nextafter(1e13, 0.0)}));
}

void UrlSeeds() {
  const std::vector<Text> urls = {
      "http://127.0.0.1:8936/loginAction.do?zjh=2021000001&mm=secret",
      "http://Jwc.Example.EDU/Grade.do?A=B",
      "HTTP://x/",
      "http://h:/",
      "http://h:8080",
      "http://127.0.0.1:8936//gradeLnAllAction.do",
      "jwc.example.edu:81/a/http://b/",
      "http://教务处.澄溪学院:8080/成绩",
      "",
  };
  for (std::size_t i = 0; i < urls.size(); ++i) {
    Write("fuzz_url", "url_" + std::to_string(i + 1), urls[i]);
  }
}

void CookiePassSeeds() {
  const std::vector<Text> blocks = {
      "HTTP/1.1 200 OK\r\nSet-Cookie: JSESSIONID=A1B2C3; Path=/\r\n"
      "Content-Type: text/html; charset=GBK\r\n\r\n",
      "HTTP/1.1 302 Found\r\nset-cookie: a=b=c; Expires=Wed, 09 Jun 2021 10:18:14 GMT\r\n"
      "SET-COOKIE: flag\r\nX-Set-Cookie: late=1\r\nLocation: /\r\n\r\n",
      "HTTP/1.1 200 OK\nSet-Cookie: =empty\nSet-Cookie: 名字=值\r\n\r\nSet-Cookie: tail=1",
      "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n",
  };
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    Write("fuzz_cookie_pass", "headers_" + std::to_string(i + 1), blocks[i]);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_make_seeds <seeds folder>\n");
    return 2;
  }
  root = argv[1];
  GradePageSeeds();
  ZeroScoreSeeds();
  ToNumberSeeds();
  NumberToTextSeeds();
  UrlSeeds();
  CookiePassSeeds();
  return 0;
}
