// Saving on Windows: the bytes go to a temporary file in the target's folder, are flushed to the
// disk, and the temporary file replaces the target in one rename.
#include <windows.h>

#include <algorithm>
#include <string>

#include "export/save_file.h"

namespace report {

namespace {

namespace fs = std::filesystem;
using text::Text;

// The student reads this after "保存失败：".
Text FailureReason(DWORD error) {
  switch (error) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return "磁盘空间不足";
    case ERROR_PATH_NOT_FOUND:
    case ERROR_FILE_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
      return "文件夹不存在";
    case ERROR_ACCESS_DENIED:
      return "没有写入权限";
    case ERROR_WRITE_PROTECT:
      return "磁盘为只读";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return "文件正被其他程序使用";
    case ERROR_FILENAME_EXCED_RANGE:
      return "文件名过长";
    case ERROR_INVALID_NAME:
      return "文件名无效";
    default:
      break;
  }
  // FormatMessage would follow the system's language; the code itself is ASCII.
  return text::JoinTexts(Text("系统错误 "), text::NumberToText(static_cast<double>(error)));
}

// An unused name in the folder, created empty and opened for writing with no sharing. The name
// is short, so a target name near the length limit still leaves room for it.
HANDLE CreateTemporaryFile(const fs::path& folder, fs::path& temporary) {
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = folder / (L".cx-save-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                          std::to_wstring(counter++) + L".tmp");
    const HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  SetLastError(ERROR_FILE_EXISTS);
  return INVALID_HANDLE_VALUE;
}

bool WriteAll(HANDLE file, const std::string& data) {
  size_t written = 0;
  while (written < data.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(data.size() - written, 1u << 20));
    DWORD n = 0;
    if (!WriteFile(file, data.data() + written, chunk, &n, nullptr)) return false;
    if (n == 0) {
      SetLastError(ERROR_DISK_FULL);
      return false;
    }
    written += n;
  }
  return true;
}

}  // namespace

std::optional<Text> SaveFile(const fs::path& target, const text::Bytes& bytes) {
  if (target.filename().empty()) return "文件名无效";
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return "所选路径是一个文件夹";
  }
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(L".");

  fs::path temporary;
  const HANDLE file = CreateTemporaryFile(folder, temporary);
  if (file == INVALID_HANDLE_VALUE) return FailureReason(GetLastError());

  const auto fail = [&](DWORD reason) -> std::optional<Text> {
    DeleteFileW(temporary.c_str());
    return FailureReason(reason);
  };
  if (!WriteAll(file, bytes.data) || !FlushFileBuffers(file)) {
    const DWORD reason = GetLastError();
    CloseHandle(file);
    return fail(reason);
  }
  if (!CloseHandle(file)) return fail(GetLastError());
  if (!MoveFileExW(temporary.c_str(), target.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return fail(GetLastError());
  }
  return std::nullopt;
}

}  // namespace report
