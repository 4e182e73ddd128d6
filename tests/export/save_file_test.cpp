// Saving the result page: the file holds exactly the bytes, a failed save keeps the old file and
// leaves nothing behind. The tests run as root, so every failure here is one that permission
// bits would not cause.
#include "export/save_file.h"

#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

namespace report {
namespace {

namespace fs = std::filesystem;
using text::Bytes;

class SaveFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/cx-save-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
  }
  void TearDown() override {
    if (!mounted_.empty()) umount2(mounted_.c_str(), MNT_DETACH);
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  static std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  static void Write(const fs::path& path, const std::string& data) {
    std::ofstream(path, std::ios::binary) << data;
  }
  // The names in a folder, to see that no temporary file is left.
  static std::set<std::string> Names(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
      names.insert(entry.path().filename().string());
    }
    return names;
  }

  fs::path folder_;
  fs::path mounted_;
};

// A result page as the program saves it: GBK, CR LF, and a zero byte from the server's page.
const Bytes kPage{std::string("<P><B>您的必修加权平均分：82</B></P><html>\r\n成绩") +
                  std::string(1, '\0') + "\xff</html>"};

TEST_F(SaveFileTest, WritesExactlyTheBytes) {
  const fs::path target = folder_ / "2014111澄溪成绩查询结果.html";
  EXPECT_EQ(SaveFile(target, kPage), std::nullopt);
  EXPECT_EQ(Read(target), kPage.data);
  EXPECT_EQ(Names(folder_), std::set<std::string>{target.filename().string()});
}

TEST_F(SaveFileTest, WritesAnEmptyPage) {
  const fs::path target = folder_ / "empty.html";
  EXPECT_EQ(SaveFile(target, Bytes{}), std::nullopt);
  EXPECT_TRUE(fs::exists(target));
  EXPECT_EQ(fs::file_size(target), 0u);
}

TEST_F(SaveFileTest, ReplacesAnExistingFileWhole) {
  const fs::path target = folder_ / "report.html";
  Write(target, std::string(4096, 'x'));
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(SaveFile(target, kPage), std::nullopt);
  EXPECT_EQ(Read(target), kPage.data) << "nothing of the longer old file remains";
  EXPECT_EQ(SaveFile(target, kPage), std::nullopt);
  EXPECT_EQ(Read(target), kPage.data);
  EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read)
      << "the replaced file keeps its permissions";
  EXPECT_EQ(Names(folder_), std::set<std::string>{"report.html"});
}

TEST_F(SaveFileTest, FollowsALinkToTheFile) {
  const fs::path file = folder_ / "real.html";
  const fs::path link = folder_ / "link.html";
  Write(file, "old");
  fs::create_symlink(file, link);
  EXPECT_EQ(SaveFile(link, kPage), std::nullopt);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(Read(file), kPage.data);
}

TEST_F(SaveFileTest, FailsInAFolderThatDoesNotExist) {
  const fs::path target = folder_ / "gone" / "report.html";
  const std::optional<text::Text> reason = SaveFile(target, kPage);
  ASSERT_TRUE(reason.has_value());
  EXPECT_EQ(*reason, "文件夹不存在");
  EXPECT_FALSE(fs::exists(folder_ / "gone"));
  EXPECT_TRUE(Names(folder_).empty());
}

TEST_F(SaveFileTest, FailsWhenTheFolderWasRemovedSinceTheLastSave) {
  const fs::path target = folder_ / "year" / "report.html";
  fs::create_directory(folder_ / "year");
  ASSERT_EQ(SaveFile(target, kPage), std::nullopt);
  fs::remove_all(folder_ / "year");
  EXPECT_TRUE(SaveFile(target, kPage).has_value());
  EXPECT_TRUE(Names(folder_).empty());
}

TEST_F(SaveFileTest, FailsWhenTheFolderIsAFile) {
  Write(folder_ / "notes", "mine");
  EXPECT_TRUE(SaveFile(folder_ / "notes" / "report.html", kPage).has_value());
  EXPECT_EQ(Read(folder_ / "notes"), "mine");
  EXPECT_EQ(Names(folder_), std::set<std::string>{"notes"});
}

TEST_F(SaveFileTest, FailsWhenTheTargetIsAFolder) {
  const fs::path target = folder_ / "report.html";
  fs::create_directory(target);
  Write(target / "inside.txt", "kept");
  const std::optional<text::Text> reason = SaveFile(target, kPage);
  ASSERT_TRUE(reason.has_value());
  EXPECT_EQ(*reason, "所选路径是一个文件夹");
  EXPECT_EQ(Read(target / "inside.txt"), "kept");
  EXPECT_EQ(Names(folder_), std::set<std::string>{"report.html"});
  EXPECT_TRUE(SaveFile(folder_ / "sub/", kPage).has_value()) << "a path without a file name";
}

TEST_F(SaveFileTest, FailedWriteKeepsTheOldFile) {
  // A file size limit stops a write whoever runs it; the signal it raises is ignored, as the
  // write's error is what counts.
  const fs::path target = folder_ / "report.html";
  Write(target, "the old report");
  const std::string big(1 << 20, 'a');
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  rlimit limited = old;
  limited.rlim_cur = 64 * 1024;
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  const std::optional<text::Text> reason = SaveFile(target, Bytes{big});
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  ASSERT_TRUE(reason.has_value());
  EXPECT_EQ(*reason, "文件过大");
  EXPECT_EQ(Read(target), "the old report");
  EXPECT_EQ(Names(folder_), std::set<std::string>{"report.html"});
}

TEST_F(SaveFileTest, FullFileSystemKeepsTheOldFile) {
  // A small tmpfs in a mount namespace of this process alone, so nothing outlives the test.
  if (unshare(CLONE_NEWNS) != 0 || mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
    GTEST_SKIP() << "no mount namespace here";
  }
  const fs::path disk = folder_ / "disk";
  fs::create_directory(disk);
  if (mount("cx-test", disk.c_str(), "tmpfs", 0, "size=64k") != 0) {
    GTEST_SKIP() << "tmpfs cannot be mounted here";
  }
  mounted_ = disk;
  const fs::path target = disk / "report.html";
  Write(target, "the old report");
  const std::optional<text::Text> reason = SaveFile(target, Bytes{std::string(1 << 20, 'a')});
  ASSERT_TRUE(reason.has_value());
  EXPECT_EQ(*reason, "磁盘空间不足");
  EXPECT_EQ(Read(target), "the old report");
  EXPECT_EQ(Names(disk), std::set<std::string>{"report.html"});
  EXPECT_EQ(SaveFile(target, kPage), std::nullopt) << "the space the failed save took is free";
  EXPECT_EQ(Read(target), kPage.data);
}

}  // namespace
}  // namespace report
