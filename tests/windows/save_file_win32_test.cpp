// Saving on Windows: exact bytes, replacement in one rename, Chinese file names, and failures that
// leave the old file and no temporary file behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "export/save_file.h"

namespace report {
namespace {

namespace fs = std::filesystem;

class SaveFileWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ =
        fs::temp_directory_path() / (L"cx-save-test-" + std::to_wstring(GetCurrentProcessId()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  static std::string Read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  size_t Entries() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder_), {}));
  }

  fs::path folder_;
};

TEST_F(SaveFileWindows, WritesExactlyTheBytesUnderAChineseNameAndReplacesTheOldFile) {
  const fs::path target = folder_ / L"2014117澄溪成绩查询结果.html";
  const std::string first("<P><B>您的\r\n\0成绩</B></P>", 27);
  EXPECT_EQ(SaveFile(target, text::Bytes{first}), std::nullopt);
  EXPECT_EQ(Read(target), first);
  EXPECT_EQ(SaveFile(target, text::Bytes{"short"}), std::nullopt);
  EXPECT_EQ(Read(target), "short");
  EXPECT_EQ(Entries(), 1u);
}

TEST_F(SaveFileWindows, FailuresKeepTheOldFileAndLeaveNoTemporaryFile) {
  const fs::path kept = folder_ / L"kept.html";
  { std::ofstream(kept, std::ios::binary) << "old"; }

  EXPECT_EQ(SaveFile(folder_ / L"missing" / L"a.html", text::Bytes{"x"}),
            text::Text("文件夹不存在"));
  EXPECT_EQ(SaveFile(folder_, text::Bytes{"x"}), text::Text("所选路径是一个文件夹"));

  // Another program holds the file open without sharing: the rename cannot replace it.
  const HANDLE held = CreateFileW(kept.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const std::optional<text::Text> reason = SaveFile(kept, text::Bytes{"new"});
  CloseHandle(held);
  ASSERT_TRUE(reason.has_value());
  EXPECT_FALSE(reason->empty());

  EXPECT_EQ(Read(kept), "old");
  EXPECT_EQ(Entries(), 1u);
}

}  // namespace
}  // namespace report
