// ui::Shell over Qt Widgets: the two windows, the message box, the save dialog and the end of the
// program, plus the hooks that let GUI tests run it without anything modal blocking them.
#pragma once

#include <QApplication>
#include <QEventLoop>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "ui/qt/window_forms.h"
#include "ui/shell_base.h"

class QTranslator;

namespace ui {

class CourseList;

class QtShell : public ShellBase {
 public:
  // Uses the running QApplication, or starts one when there is none. Installs the error box of
  // text::StopWithError for the shell's lifetime (a shell made while another exists takes the
  // box over until it goes).
  QtShell();
  ~QtShell() override;
  QtShell(const QtShell&) = delete;
  QtShell& operator=(const QtShell&) = delete;

  void LoadWindow(Window window) override;
  bool IsLoaded(Window window) const override;

  text::Text GetText(Window window, const text::Text& control) const override;
  void SetText(Window window, const text::Text& control, const text::Text& value) override;

  bool IsVisible(Window window) const override;
  void SetVisible(Window window, bool visible) override;

  bool IsSelectAllTicked() const override;
  void SetSelectAllTicked(bool ticked) override;

  int ListRowCount() const override;
  int ListAppendRow(const text::Text& firstColumn) override;
  void ListSetCell(int row, int column, const text::Text& value) override;
  text::Text ListCell(int row, int column) const override;
  void ListSetTicked(int row, bool ticked) override;
  bool ListTicked(int row) const override;

  void ShowMessage(const text::Text& message, int icon, const text::Text& caption) override;
  std::optional<std::filesystem::path> AskSaveFileName(const text::Text& proposedName) override;

  void PumpEvents() override;
  void SetBusy(bool busy) override;

  void Run() override;

  // --- Test hooks (and those of ShellBase) ---------------------------------------------------

  // The widgets themselves, for tests that drive them: a window, or a control by GBK form name
  // (nullptr when the window is not loaded or has no such control).
  QWidget* WindowWidget(Window window) const;
  QWidget* Control(Window window, const text::Text& name) const;

  // The error box that StopWithError shows while this shell exists.
  static void ShowStopBox(const text::Text& boxText, const text::Text& caption);

 private:
  const WindowForm* Find(Window window) const;
  CourseList* List() const;
  void Wire(Window window, WindowForm& form);
  void Closing(Window window);
  bool AnyWindowShown() const;
  // Runs an event routine on behalf of Qt: a ProgramEnded thrown by it stops here.
  void Dispatch(const std::function<void(EventHandler&)>& routine);
  void ShowBox(const text::Text& message, int icon, const text::Text& caption);

  std::unique_ptr<QApplication> ownedApplication_;
  std::unique_ptr<QTranslator> translator_;
  QtShell* previousShell_ = nullptr;
  std::map<Window, WindowForm> windows_;
  // Destroyed windows stay allocated until the shell goes: a routine may still be running in one.
  std::vector<WindowForm> closedWindows_;
  QEventLoop* runLoop_ = nullptr;
  int busyDepth_ = 0;
};

}  // namespace ui
