// The two windows of the program as their forms lay them out: every control at its place, with
// its fixed properties, named by its form name.
#pragma once

#include <QFont>
#include <QSize>
#include <map>
#include <memory>

#include "text/text.h"
#include "ui/qt/controls.h"
#include "ui/shell.h"

namespace ui {

// The outer size of each window, and the client area the controls are placed in: the outer size
// less a nominal frame of 6 x 26 pixels (the window manager draws its own frame around it).
QSize OuterSize(Window window);
QSize ClientSize(Window window);

// The program's GUI font: 9 point at 96 dpi (12 pixels, so the fixed layout holds at any dpi) in
// a family that has the Chinese characters.
QFont ProgramFont();

struct WindowForm {
  std::unique_ptr<ShellWindow> window;
  std::map<text::Text, QWidget*> controls;  // by GBK form name; owned by the window
};

// Creates the window and all its controls, hidden; the title is the program's.
WindowForm BuildWindowForm(Window window);

}  // namespace ui
