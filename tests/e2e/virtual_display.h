// An X server of its own for one session: Xvfb on the first free display number (Xvfb finds it
// through its lock files and tells it through -displayfd), stopped when the object goes.
#pragma once

#include <memory>
#include <string>

#include "tests/e2e/child_process.h"

namespace e2e {

class VirtualDisplay {
 public:
  // Waits until the server accepts connections; throws HarnessError when it does not in time.
  VirtualDisplay(int width = 1024, int height = 768);
  // ":N"
  const std::string& Name() const { return name_; }
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  int width_;
  int height_;
  std::string name_;
  std::unique_ptr<ChildProcess> server_;
};

}  // namespace e2e
