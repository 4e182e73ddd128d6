// The program: its program-wide data and the routines bound to the events of its two windows.
#pragma once

#include <chrono>
#include <functional>

#include "grades/plan_page.h"
#include "stats/grade_totals.h"
#include "text/text.h"
#include "ui/shell.h"

namespace app {

class Program : public ui::EventHandler {
 public:
  using Clock = std::function<std::chrono::system_clock::time_point()>;

  // fetch reads one server page by its path relative to the server's base address.
  Program(ui::Shell& shell, grades::PageFetcher fetch,
          Clock clock = std::chrono::system_clock::now);

  // Login window.
  void TryLogin();
  void LoginKeyDown(int keyCode, int modifiers);

  // Grade window.
  void GradeWindowCreated();
  void GradeWindowDestroyed();
  void SelectAllClicked();
  void ShowEvaluation();
  void SaveReport();
  void UpdateSelectedTotals();

  // The exit routine: releases the report and the plan page.
  void ReleaseProgramTexts();

  const text::Text& ReportText() const { return reportText_; }
  const text::Text& PlanPageText() const { return plan_.text; }
  const stats::GradeTotals& GradeTotals() const { return totals_; }

  // ui::EventHandler: the event table.
  void Created(ui::Window window) override;
  void WillBeDestroyed(ui::Window window) override;
  void Clicked(ui::Window window, const text::Text& control) override;
  void KeyDown(ui::Window window, const text::Text& control, int keyCode, int modifiers) override;
  void ListToggled(int row, int state) override;

 private:
  ui::Shell& shell_;
  Clock clock_;
  grades::PageFetcher fetch_;
  text::Text reportText_;
  grades::PlanPage plan_;
  stats::GradeTotals totals_;
  // Set by the grade window's load when the grade page came back empty; the message waits until
  // the window is on screen.
  bool gradePageMissing_ = false;
};

// Start-up: loads the login window and runs the event loop; the process's exit code.
int StartProgram(ui::Shell& shell, const text::Text& serverBase);

}  // namespace app
