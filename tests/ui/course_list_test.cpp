// The course list: rows and cells from the program, ticks from the program raise nothing, and
// the student's click on a box or Space on a row raises ListToggled with the row and new state.
#include <QApplication>
#include <QHeaderView>
#include <QTreeWidget>

#include "tests/ui/shell_fixture.h"
#include "ui/qt/course_list.h"
#include "ui/qt/gbk.h"

namespace ui::testing {
namespace {

using ::testing::ElementsAre;

class CourseListTest : public ShellTest {
 protected:
  void SetUp() override {
    Load(Window::Grade);
    list = Get<CourseList>(Window::Grade, "超级列表框1");
    const char* const names[] = {"高等数学", "大学英语", "形势与政策"};
    for (const char* name : names) {
      const int row = shell.ListAppendRow(name);
      shell.ListSetCell(row, 1, "必修");
      shell.ListSetCell(row, 2, "3");
      shell.ListSetCell(row, 3, "85");
      shell.ListSetCell(row, 4, "3.5");
    }
    handler.events.clear();
  }

  QPoint BoxCentre(int row) const {
    const QRect box = list->CheckBoxRect(row);
    EXPECT_FALSE(box.isEmpty()) << row;
    return box.center();
  }

  // The middle of a cell; in column 0 that is on the name, well right of the box.
  QPoint CellCentre(int row, int column) const {
    const QRect rowRect = list->visualItemRect(list->topLevelItem(row));
    return {list->header()->sectionViewportPosition(column) + list->columnWidth(column) / 2,
            rowRect.center().y()};
  }

  CourseList* list = nullptr;
};

TEST_F(CourseListTest, RowsAndCellsFromTheProgram) {
  EXPECT_EQ(shell.ListRowCount(), 3);
  EXPECT_EQ(shell.ListAppendRow("军事理论"), 3);
  EXPECT_EQ(shell.ListRowCount(), 4);
  EXPECT_EQ(shell.ListCell(3, 0), "军事理论");
  EXPECT_EQ(shell.ListCell(3, 1), "");  // never set
  EXPECT_EQ(shell.ListCell(1, 0), "大学英语");
  EXPECT_EQ(shell.ListCell(1, 4), "3.5");
  EXPECT_EQ(list->topLevelItem(2)->text(0), QString::fromUtf16(u"形势与政策"));
  EXPECT_EQ(list->topLevelItem(2)->text(1), QString::fromUtf16(u"必修"));
  EXPECT_FALSE(shell.ListTicked(3));
  EXPECT_EQ(list->topLevelItem(3)->checkState(0), Qt::Unchecked);
  for (int column = 0; column < 5; ++column) {
    EXPECT_EQ(list->topLevelItem(0)->textAlignment(column), Qt::AlignLeft | Qt::AlignVCenter);
  }

  // Out of range: reads are empty, writes change nothing, nothing fails.
  shell.ListSetCell(9, 0, "x");
  shell.ListSetCell(0, 5, "x");
  shell.ListSetCell(-1, 0, "x");
  EXPECT_EQ(shell.ListCell(9, 0), "");
  EXPECT_EQ(shell.ListCell(0, 5), "");
  EXPECT_EQ(shell.ListCell(-1, -1), "");
  shell.ListSetTicked(9, true);
  EXPECT_FALSE(shell.ListTicked(9));
  EXPECT_EQ(shell.ListRowCount(), 4);
  EXPECT_TRUE(handler.events.empty());
}

TEST_F(CourseListTest, CellsKeepTheirBytesEvenWhenNotGbk) {
  shell.ListSetCell(0, 0, "课\xFF");
  EXPECT_EQ(shell.ListCell(0, 0), "课\xFF");
  EXPECT_EQ(list->topLevelItem(0)->text(0), QString::fromUtf16(u"课\uFFFD"));
}

TEST_F(CourseListTest, TicksFromTheProgramRaiseNothing) {
  shell.ListSetTicked(0, true);
  shell.ListSetTicked(2, true);
  shell.ListSetTicked(2, true);
  shell.ListSetTicked(0, false);
  shell.ListSetCell(1, 2, "4");
  EXPECT_FALSE(shell.ListTicked(0));
  EXPECT_FALSE(shell.ListTicked(1));
  EXPECT_TRUE(shell.ListTicked(2));
  EXPECT_EQ(list->topLevelItem(2)->checkState(0), Qt::Checked);
  EXPECT_TRUE(handler.events.empty());
}

TEST_F(CourseListTest, LeftClickOnABoxTogglesItAndRaisesTheNewState) {
  bool tickedDuringEvent = false;
  handler.onEvent = [&](const Event& e) { tickedDuringEvent = shell.ListTicked(e.first) == 1; };
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, BoxCentre(1));
  EXPECT_TRUE(shell.ListTicked(1));
  EXPECT_TRUE(tickedDuringEvent);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, BoxCentre(1));
  EXPECT_FALSE(shell.ListTicked(1));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, BoxCentre(2));
  EXPECT_THAT(handler.events, ElementsAre(Event{Event::ListToggled, Window::Grade, "", 1, 1},
                                          Event{Event::ListToggled, Window::Grade, "", 1, 0},
                                          Event{Event::ListToggled, Window::Grade, "", 2, 1}));
}

TEST_F(CourseListTest, RightClickOnABoxTogglesItToo) {
  shell.ListSetTicked(0, true);
  QTest::mouseClick(list->viewport(), Qt::RightButton, {}, BoxCentre(0));
  EXPECT_FALSE(shell.ListTicked(0));
  EXPECT_THAT(handler.events, ElementsAre(Event{Event::ListToggled, Window::Grade, "", 0, 0}));
}

TEST_F(CourseListTest, DoubleClickOnABoxTogglesTwiceWithAnEventEachTime) {
  const QPoint box = BoxCentre(2);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, box);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, box);
  EXPECT_FALSE(handler.events.empty());
  // Every event carries the state the box had right after that toggle.
  bool ticked = false;
  for (const Event& e : handler.events) {
    ticked = !ticked;
    EXPECT_EQ(e, (Event{Event::ListToggled, Window::Grade, "", 2, ticked ? 1 : 0}));
  }
  EXPECT_EQ(shell.ListTicked(2), ticked);
}

TEST_F(CourseListTest, ClickBesideTheBoxSelectsTheRowWithoutToggling) {
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, CellCentre(1, 0));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, CellCentre(2, 3));
  QTest::mouseClick(list->viewport(), Qt::RightButton, {}, CellCentre(0, 2));
  EXPECT_TRUE(handler.events.empty());
  EXPECT_FALSE(shell.ListTicked(0) || shell.ListTicked(1) || shell.ListTicked(2));
  // Full-row, single selection.
  ASSERT_EQ(list->selectedItems().size(), 1);
}

TEST_F(CourseListTest, SpaceTogglesTheCurrentRowWhicheverCellIsCurrent) {
  list->setFocus();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, CellCentre(1, 3));
  ASSERT_EQ(list->currentItem(), list->topLevelItem(1));
  QTest::keyClick(list, Qt::Key_Space);
  EXPECT_TRUE(shell.ListTicked(1));
  QTest::keyClick(list, Qt::Key_Down);
  QTest::keyClick(list, Qt::Key_Space);
  QTest::keyClick(list, Qt::Key_Space);
  EXPECT_FALSE(shell.ListTicked(2));
  // Held down: the repeats toggle nothing more.
  QTest::keyPress(list, Qt::Key_Space);
  QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
  QApplication::sendEvent(list, &repeat);
  QTest::keyRelease(list, Qt::Key_Space);
  EXPECT_TRUE(shell.ListTicked(2));
  EXPECT_THAT(handler.events, ElementsAre(Event{Event::ListToggled, Window::Grade, "", 1, 1},
                                          Event{Event::ListToggled, Window::Grade, "", 2, 1},
                                          Event{Event::ListToggled, Window::Grade, "", 2, 0},
                                          Event{Event::ListToggled, Window::Grade, "", 2, 1}));
}

TEST_F(CourseListTest, HeaderClickChangesNothing) {
  shell.ListSetTicked(1, true);
  QHeaderView* header = list->header();
  for (int column = 0; column < 5; ++column) {
    const QPoint inSection(header->sectionViewportPosition(column) + 10, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, inSection);
    QTest::mouseDClick(header->viewport(), Qt::LeftButton, {}, inSection);
  }
  EXPECT_EQ(shell.ListCell(0, 0), "高等数学");
  EXPECT_EQ(shell.ListCell(1, 0), "大学英语");
  EXPECT_EQ(shell.ListCell(2, 0), "形势与政策");
  EXPECT_TRUE(shell.ListTicked(1));
  EXPECT_FALSE(header->isSortIndicatorShown());
  EXPECT_FALSE(list->isSortingEnabled());
  for (int column = 0; column < 5; ++column) EXPECT_EQ(header->visualIndex(column), column);
  EXPECT_TRUE(handler.events.empty());
}

}  // namespace
}  // namespace ui::testing
