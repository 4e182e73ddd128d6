// The hands and eyes of a student at the virtual display: xdotool finds the program's windows,
// types, presses keys and clicks; ImageMagick's import takes screenshots; a small Qt helper
// reads the clipboard. Window names are UTF-8, as X11 carries them.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

struct WindowInfo {
  unsigned long id = 0;
  std::string name;  // UTF-8
  int x = 0, y = 0, width = 0, height = 0;
};

class XDriver {
 public:
  XDriver(std::string display, std::filesystem::path clipboardReader);

  // The mapped top-level windows of the process, in the order xdotool lists them.
  std::vector<WindowInfo> VisibleWindows(pid_t pid) const;
  // Polls until a visible window of the process matches; throws HarnessError naming what was
  // awaited when none does within the limit.
  WindowInfo WaitForWindow(pid_t pid, const std::function<bool(const WindowInfo&)>& matches,
                           const std::string& awaited,
                           std::chrono::milliseconds limit = std::chrono::seconds(20)) const;
  // Polls until the window is no longer visible; throws when it stays.
  void WaitUntilGone(pid_t pid, unsigned long id, const std::string& what,
                     std::chrono::milliseconds limit = std::chrono::seconds(20)) const;

  // Gives the window the keyboard focus (there is no window manager to do it) and waits for it.
  void Focus(const WindowInfo& window) const;
  // Key names as xdotool knows them: "Return", "Escape", "ctrl+a", "space"; the delay is
  // xdotool's between the keys' events.
  void Key(const std::string& keys, int delayMs = 20) const;
  void Type(const std::string& text) const;
  // A left click at a point relative to the window's top-left corner.
  void Click(const WindowInfo& window, int x, int y) const;

  // A PNG of the window (or of the whole screen for id 0).
  void Screenshot(unsigned long id, const std::filesystem::path& file) const;
  // The clipboard's text, UTF-8; "" when it holds none.
  std::string Clipboard() const;

 private:
  std::string Xdotool(const std::vector<std::string>& arguments, const std::string& what) const;

  std::string display_;
  std::filesystem::path clipboardReader_;
};

}  // namespace e2e
