// The course list 超级列表框1: a flat list of rows with a check box in front of each row.
#pragma once

#include <QTreeWidget>
#include <functional>

#include "text/text.h"

namespace ui {

class CourseList : public QTreeWidget {
 public:
  static constexpr int kColumnCount = 5;

  explicit CourseList(QWidget* parent);

  // Raised after the student toggled a row's box: a click (left or right, single or double) on
  // the box, or Space on the current row. Changes made through the methods below raise nothing.
  std::function<void(int row, int state)> onToggled;

  int RowCount() const;
  int AppendRow(const text::Text& firstColumn);
  void SetCell(int row, int column, const text::Text& value);
  text::Text Cell(int row, int column) const;
  void SetTicked(int row, bool ticked);
  bool Ticked(int row) const;

  // Where the row's check box is drawn, in viewport coordinates (empty for a row that does not
  // exist or is scrolled out of view).
  QRect CheckBoxRect(int row) const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // Counts the changes the program makes, so itemChanged can tell them from the student's.
  class ProgramChange;
  int programChanges_ = 0;
};

}  // namespace ui
