// The windowing layer as the rest of the program sees it: the two windows, their controls
// addressed by form name, the course list, the message box, the save dialog and the end of the
// program. ui/qt implements it over Qt Widgets; tests use an in-memory one.
//
// Every text that crosses this interface is GBK (control names included, e.g. "标签1"); only
// the implementation converts to and from the toolkit's own strings.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>

#include "text/text.h"

namespace ui {

enum class Window { Login, Grade };

// Message box icons, as the program's texts number them.
inline constexpr int kIconError = 16;
inline constexpr int kIconInformation = 64;

// The routines bound to the events of the windows. The shell calls them on the GUI thread.
class EventHandler {
 public:
  virtual ~EventHandler() = default;
  // After the window and all its controls exist, before it is first shown.
  virtual void Created(Window window) = 0;
  // The window is being destroyed: close button, Esc or system close.
  virtual void WillBeDestroyed(Window window) = 0;
  // A button or the check box was clicked by the user (or Space while it had the focus); for the
  // check box after it changed its state. Never raised by changes made from code.
  virtual void Clicked(Window window, const text::Text& control) = 0;
  // A key went down in an edit box; keyCode is the virtual key code (Enter is 13).
  virtual void KeyDown(Window window, const text::Text& control, int keyCode, int modifiers) = 0;
  // The user toggled a row's check box in the course list (mouse on the box, or Space on the
  // focused row); state is 1 ticked, 0 unticked. Ticks set from code raise nothing.
  virtual void ListToggled(int row, int state) = 0;
};

class Shell {
 public:
  virtual ~Shell() = default;

  // Where the events go; set once at start-up, before the first window is loaded.
  virtual void SetEventHandler(EventHandler* handler) = 0;
  // The routine EndProgram runs before the process ends.
  virtual void SetExitRoutine(std::function<void()> routine) = 0;

  // Creates the window and its controls, raises Created, then shows it, centred. A window that is
  // already loaded is not created again: it is restored if minimised, else brought to the front.
  virtual void LoadWindow(Window window) = 0;
  virtual bool IsLoaded(Window window) const = 0;

  // A control's text: edit box text, label or group box caption, button or check box caption.
  // The empty control name addresses the window itself (its title).
  virtual text::Text GetText(Window window, const text::Text& control) const = 0;
  virtual void SetText(Window window, const text::Text& control, const text::Text& value) = 0;

  virtual bool IsVisible(Window window) const = 0;
  virtual void SetVisible(Window window, bool visible) = 0;

  // The check box 选择框1 of the grade window. Setting it from code raises no Clicked.
  virtual bool IsSelectAllTicked() const = 0;
  virtual void SetSelectAllTicked(bool ticked) = 0;

  // The course list 超级列表框1; rows and columns count from 0, an empty cell reads "".
  virtual int ListRowCount() const = 0;
  virtual int ListAppendRow(const text::Text& firstColumn) = 0;  // returns the new row's index
  virtual void ListSetCell(int row, int column, const text::Text& value) = 0;
  virtual text::Text ListCell(int row, int column) const = 0;
  virtual void ListSetTicked(int row, bool ticked) = 0;  // raises no ListToggled
  virtual bool ListTicked(int row) const = 0;

  // A box with one OK button, modal for the whole program; returns when it is closed.
  virtual void ShowMessage(const text::Text& message, int icon, const text::Text& caption) = 0;

  // The save dialog (filter "Html网页文件 (*.html)", default suffix html, asks before replacing)
  // preset with the proposed file name; the chosen path, or nothing when cancelled.
  virtual std::optional<std::filesystem::path> AskSaveFileName(const text::Text& proposedName) = 0;

  // Handles every pending window event, then returns. Called while a request waits.
  virtual void PumpEvents() = 0;
  // A wait cursor over the program's windows while a request runs.
  virtual void SetBusy(bool busy) = 0;

  // Runs the event loop until no window of the program is left.
  virtual void Run() = 0;
  // Runs the registered exit routine (at most once) and ends the process with the code.
  [[noreturn]] virtual void EndProgram(int exitCode) = 0;
};

}  // namespace ui
