#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "export/save_file.h"

namespace report {

namespace {

namespace fs = std::filesystem;
using text::Text;

// The student reads this after "保存失败：".
Text FailureReason(int error) {
  switch (error) {
    case ENOSPC:
    case EDQUOT:
      return "磁盘空间不足";
    case ENOENT:
    case ENOTDIR:
      return "文件夹不存在";
    case EACCES:
    case EPERM:
      return "没有写入权限";
    case EROFS:
      return "磁盘为只读";
    case EISDIR:
      return "所选路径是一个文件夹";
    case EFBIG:
      return "文件过大";
    case ENAMETOOLONG:
      return "文件名过长";
    default:
      break;
  }
  // strerror would follow the locale, whose text need not be GBK; the code's name is ASCII.
  const char* name = strerrorname_np(error);
  return text::JoinTexts(Text("系统错误 "), name ? Text(name) : text::NumberToText(error));
}

// An unused name in the folder, created empty with the permissions a new file gets. The name is
// short, so a target name near the length limit still leaves room for it.
int CreateTemporaryFile(const fs::path& folder, fs::path& temporary) {
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = folder /
                (".cx-save-" + std::to_string(getpid()) + "-" + std::to_string(counter++) + ".tmp");
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd != -1 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

bool WriteAll(int fd, const std::string& data) {
  size_t written = 0;
  while (written < data.size()) {
    const ssize_t n = write(fd, data.data() + written, data.size() - written);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    written += static_cast<size_t>(n);
  }
  return true;
}

// The rename itself is made durable by flushing the folder; a folder that cannot be flushed
// has the file all the same.
void FlushFolder(const fs::path& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd == -1) return;
  fsync(fd);
  close(fd);
}

}  // namespace

std::optional<Text> SaveFile(const fs::path& target, const text::Bytes& bytes) {
  fs::path destination = target;
  std::error_code error;
  if (fs::is_symlink(fs::symlink_status(target, error))) {
    fs::path resolved = fs::weakly_canonical(target, error);
    if (!error) destination = resolved;
  }
  if (destination.filename().empty()) return "文件名无效";
  const fs::path folder = destination.has_parent_path() ? destination.parent_path() : ".";

  fs::path temporary;
  const int fd = CreateTemporaryFile(folder, temporary);
  if (fd == -1) return FailureReason(errno);

  // Replacing a file keeps its permissions, as writing into it would.
  struct stat old;
  if (stat(destination.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
    fchmod(fd, old.st_mode & 07777);
  }

  const auto fail = [&](int reason) -> std::optional<Text> {
    unlink(temporary.c_str());
    return FailureReason(reason);
  };
  if (!WriteAll(fd, bytes.data) || fsync(fd) != 0) {
    const int reason = errno;
    close(fd);
    return fail(reason);
  }
  if (close(fd) != 0) return fail(errno);
  if (rename(temporary.c_str(), destination.c_str()) != 0) return fail(errno);
  FlushFolder(folder);
  return std::nullopt;
}

}  // namespace report
