// The two windows of the program as their forms lay them out, for the Win32 shell: every control
// at its place, with its fixed styles, named by its form name.
#pragma once

#include <windows.h>

#include <span>

#include "ui/shell.h"

namespace ui {

enum class ControlKind {
  GroupBox,
  Label,
  CentredLabel,
  EditBox,
  PasswordBox,
  Button,
  CheckBox,
  List
};

struct ControlForm {
  ControlKind kind;
  const char* name;    // GBK form name
  const char* parent;  // "" for the window's client area
  int x, y, width, height;
  const char* text;
};

// The window's outer size (frame included), and its controls in creation order, which is also
// the tab order.
SIZE OuterSize(Window window);
std::span<const ControlForm> FormOf(Window window);

// The list's columns: title and width.
struct ListColumn {
  const char* title;
  int width;
};
std::span<const ListColumn> ListColumns();

inline constexpr const char* kProgramTitle = "澄溪学院成绩计算器";

}  // namespace ui
