// An in-memory ui::Shell for tests without windows: it keeps the control texts, the course list
// with its ticks, the select-all box and every message shown, answers the save dialog with a
// preset path, and lets a test act as the student (clicks, ticks, keys, closing a window).
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "text/text.h"
#include "ui/shell.h"

namespace support {

// What EndProgram throws, since a test must go on after the program "ends".
struct ProgramEnded {
  int exitCode;
};

class FakeShell : public ui::Shell {
 public:
  struct Message {
    text::Text text;
    int icon;
    text::Text caption;
  };
  struct ListRow {
    std::vector<text::Text> cells;  // grows as cells are set
    bool ticked = false;
  };

  // ui::Shell. A window is created with the captions of its form (title, group box, labels,
  // buttons, check box) and empty edit boxes and result labels.
  void SetEventHandler(ui::EventHandler* handler) override { handler_ = handler; }
  void SetExitRoutine(std::function<void()> routine) override { exitRoutine_ = std::move(routine); }
  void LoadWindow(ui::Window window) override;
  bool IsLoaded(ui::Window window) const override { return loaded_.count(window) != 0; }
  text::Text GetText(ui::Window window, const text::Text& control) const override;
  void SetText(ui::Window window, const text::Text& control, const text::Text& value) override;
  bool IsVisible(ui::Window window) const override { return visible_.count(window) != 0; }
  void SetVisible(ui::Window window, bool visible) override;
  bool IsSelectAllTicked() const override { return selectAll_; }
  void SetSelectAllTicked(bool ticked) override { selectAll_ = ticked; }
  int ListRowCount() const override { return static_cast<int>(rows_.size()); }
  int ListAppendRow(const text::Text& firstColumn) override;
  void ListSetCell(int row, int column, const text::Text& value) override;
  text::Text ListCell(int row, int column) const override;
  void ListSetTicked(int row, bool ticked) override;
  bool ListTicked(int row) const override;
  void ShowMessage(const text::Text& message, int icon, const text::Text& caption) override;
  std::optional<std::filesystem::path> AskSaveFileName(const text::Text& proposedName) override;
  void PumpEvents() override { ++pumpCount_; }
  void SetBusy(bool busy) override { busy_ = busy; }
  void Run() override;
  [[noreturn]] void EndProgram(int exitCode) override;

  // The student's side: each raises the event the real windows would raise.
  void Click(ui::Window window, const text::Text& control);
  void ClickSelectAll();    // flips the box, then raises Clicked for 选择框1
  void ToggleRow(int row);  // flips the row's tick, then raises ListToggled
  void PressKey(ui::Window window, const text::Text& control, int keyCode, int modifiers = 0);
  void Type(ui::Window window, const text::Text& control, const text::Text& value);  // not a write
  void Close(ui::Window window);  // raises WillBeDestroyed and unloads the window

  // What the program did.
  const std::vector<Message>& Messages() const { return messages_; }
  const std::vector<ListRow>& Rows() const { return rows_; }
  const std::vector<text::Text>& ProposedFileNames() const { return proposedNames_; }
  // Every SetText of the program in order: (window, control, value).
  const std::vector<std::tuple<ui::Window, text::Text, text::Text>>& TextWrites() const {
    return textWrites_;
  }
  int LoadCount(ui::Window window) const;
  int PumpCount() const { return pumpCount_; }
  bool Busy() const { return busy_; }
  int ExitRoutineRuns() const { return exitRoutineRuns_; }

  // The next answers of the save dialog (nullopt: cancelled); without one it is cancelled.
  void QueueSaveAnswer(std::optional<std::filesystem::path> answer);
  // Called from inside ShowMessage, e.g. to act while a box is open.
  void OnMessage(std::function<void(const Message&)> hook) { messageHook_ = std::move(hook); }
  // Run() calls this instead of an event loop (a script of the student's actions).
  void OnRun(std::function<void()> script) { runScript_ = std::move(script); }

 private:
  ui::EventHandler* handler_ = nullptr;
  std::function<void()> exitRoutine_;
  bool exitRoutineDone_ = false;
  int exitRoutineRuns_ = 0;
  std::set<ui::Window> loaded_, visible_;
  std::map<ui::Window, int> loadCounts_;
  std::map<std::pair<ui::Window, text::Text>, text::Text> texts_;
  std::vector<std::tuple<ui::Window, text::Text, text::Text>> textWrites_;
  bool selectAll_ = false;
  std::vector<ListRow> rows_;
  std::vector<Message> messages_;
  std::function<void(const Message&)> messageHook_;
  std::vector<std::optional<std::filesystem::path>> saveAnswers_;
  std::vector<text::Text> proposedNames_;
  std::function<void()> runScript_;
  int pumpCount_ = 0;
  bool busy_ = false;
};

}  // namespace support
