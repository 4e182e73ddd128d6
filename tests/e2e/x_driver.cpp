#include "tests/e2e/x_driver.h"

#include <sstream>
#include <thread>

#include "tests/e2e/child_process.h"

namespace e2e {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kPollInterval = std::chrono::milliseconds(50);

std::vector<std::string> Lines(const std::string& output) {
  std::vector<std::string> lines;
  std::istringstream in(output);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The value of "NAME=value" when the line starts with the name.
std::optional<int> ShellValue(const std::string& line, const std::string& name) {
  if (!line.starts_with(name + "=")) return std::nullopt;
  try {
    return std::stoi(line.substr(name.size() + 1));
  } catch (...) {
    return std::nullopt;
  }
}

}  // namespace

XDriver::XDriver(std::string display, std::filesystem::path clipboardReader)
    : display_(std::move(display)), clipboardReader_(std::move(clipboardReader)) {}

std::string XDriver::Xdotool(const std::vector<std::string>& arguments,
                             const std::string& what) const {
  std::vector<std::string> command{"/usr/bin/xdotool"};
  command.insert(command.end(), arguments.begin(), arguments.end());
  const CommandResult result = RunCommand(command, {"DISPLAY=" + display_});
  if (result.exitCode != 0) throw HarnessError("xdotool could not " + what);
  return result.output;
}

std::vector<WindowInfo> XDriver::VisibleWindows(pid_t pid) const {
  // No window at all makes the search fail: that is an empty list, not an error.
  const CommandResult search =
      RunCommand({"/usr/bin/xdotool", "search", "--onlyvisible", "--pid", std::to_string(pid)},
                 {"DISPLAY=" + display_});
  std::vector<std::string> ids = Lines(search.output);
  if (search.exitCode != 0 || ids.empty()) return {};

  // One xdotool run for all of them; a window that went away meanwhile fails the run, and the
  // next poll asks again.
  std::vector<std::string> describe{"/usr/bin/xdotool"};
  for (const std::string& id : ids) {
    describe.insert(describe.end(), {"getwindowname", id, "getwindowgeometry", "--shell", id});
  }
  const CommandResult described = RunCommand(describe, {"DISPLAY=" + display_});
  if (described.exitCode != 0) return {};
  const std::vector<std::string> lines = Lines(described.output);
  std::vector<WindowInfo> windows;
  for (size_t at = 0; at + 7 <= lines.size(); at += 7) {
    WindowInfo window;
    window.name = lines[at];
    const auto id = ShellValue(lines[at + 1], "WINDOW");
    const auto x = ShellValue(lines[at + 2], "X");
    const auto y = ShellValue(lines[at + 3], "Y");
    const auto width = ShellValue(lines[at + 4], "WIDTH");
    const auto height = ShellValue(lines[at + 5], "HEIGHT");
    if (!id || !x || !y || !width || !height) return {};
    window.id = static_cast<unsigned long>(*id);
    window.x = *x;
    window.y = *y;
    window.width = *width;
    window.height = *height;
    windows.push_back(window);
  }
  return windows;
}

WindowInfo XDriver::WaitForWindow(pid_t pid, const std::function<bool(const WindowInfo&)>& matches,
                                  const std::string& awaited,
                                  std::chrono::milliseconds limit) const {
  const auto deadline = Clock::now() + limit;
  std::vector<WindowInfo> seen;
  do {
    seen = VisibleWindows(pid);
    for (const WindowInfo& window : seen) {
      if (matches(window)) return window;
    }
    std::this_thread::sleep_for(kPollInterval);
  } while (Clock::now() < deadline);
  std::string shown;
  for (const WindowInfo& w : seen) {
    shown += " \"" + w.name + "\" " + std::to_string(w.width) + "x" + std::to_string(w.height);
  }
  throw HarnessError("no " + awaited + " within " + std::to_string(limit.count()) +
                     " ms; visible:" + (shown.empty() ? " none" : shown));
}

void XDriver::WaitUntilGone(pid_t pid, unsigned long id, const std::string& what,
                            std::chrono::milliseconds limit) const {
  const auto deadline = Clock::now() + limit;
  do {
    bool visible = false;
    for (const WindowInfo& window : VisibleWindows(pid)) visible = visible || window.id == id;
    if (!visible) return;
    std::this_thread::sleep_for(kPollInterval);
  } while (Clock::now() < deadline);
  throw HarnessError(what + " still visible after " + std::to_string(limit.count()) + " ms");
}

void XDriver::Focus(const WindowInfo& window) const {
  Xdotool({"windowfocus", "--sync", std::to_string(window.id)}, "focus \"" + window.name + "\"");
}

void XDriver::Key(const std::string& keys, int delayMs) const {
  Xdotool({"key", "--delay", std::to_string(delayMs), keys}, "press " + keys);
}

void XDriver::Type(const std::string& text) const {
  Xdotool({"type", "--delay", "8", "--", text}, "type " + text);
}

void XDriver::Click(const WindowInfo& window, int x, int y) const {
  // No --sync: it waits for a motion, and there is none when the pointer is already there. The
  // server handles the move before the click all the same.
  Xdotool({"mousemove", "--window", std::to_string(window.id), std::to_string(x), std::to_string(y),
           "click", "1"},
          "click into \"" + window.name + "\"");
}

void XDriver::Screenshot(unsigned long id, const std::filesystem::path& file) const {
  std::filesystem::create_directories(file.parent_path());
  const CommandResult result =
      RunCommand({"/usr/bin/import", "-window", id == 0 ? "root" : std::to_string(id), file},
                 {"DISPLAY=" + display_}, std::chrono::seconds(20));
  if (result.exitCode != 0) throw HarnessError("no screenshot " + file.string());
}

std::string XDriver::Clipboard() const {
  const CommandResult result =
      RunCommand({clipboardReader_}, {"DISPLAY=" + display_, "QT_QPA_PLATFORM=xcb"});
  if (result.exitCode != 0) throw HarnessError("the clipboard could not be read");
  return result.output;
}

}  // namespace e2e
