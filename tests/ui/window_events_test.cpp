// The events the windows raise for the student's actions, and the window operations: Created
// before the first show, WillBeDestroyed on close and Esc, Clicked, KeyDown, a second load.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "tests/ui/shell_fixture.h"
#include "ui/qt/gbk.h"
#include "ui/qt/key_codes.h"

namespace ui::testing {
namespace {

using ::testing::ElementsAre;

TEST_F(ShellTest, CreatedComesOnceWithAllControlsBeforeTheWindowIsShown) {
  bool visibleInCreated = true;
  text::Text captionInCreated;
  handler.onEvent = [&](const Event& e) {
    if (e.kind != Event::Created) return;
    visibleInCreated = shell.IsVisible(e.window);
    captionInCreated = shell.GetText(e.window, "按钮2");
    shell.SetText(Window::Grade, "标签1", "在创建时写入");
  };
  shell.LoadWindow(Window::Grade);
  EXPECT_THAT(handler.events, ElementsAre(Event{Event::Created, Window::Grade}));
  EXPECT_FALSE(visibleInCreated);
  EXPECT_EQ(captionInCreated, "保存成绩");
  EXPECT_TRUE(shell.IsLoaded(Window::Grade));
  EXPECT_TRUE(shell.IsVisible(Window::Grade));
  EXPECT_EQ(shell.GetText(Window::Grade, "标签1"), "在创建时写入");
  EXPECT_FALSE(shell.IsLoaded(Window::Login));
}

TEST_F(ShellTest, SecondLoadCreatesNothingAndRestoresAMinimisedWindow) {
  Load(Window::Login);
  QWidget* first = shell.WindowWidget(Window::Login);
  shell.SetText(Window::Login, "编辑框1", "1234567890");
  shell.LoadWindow(Window::Login);
  EXPECT_TRUE(handler.events.empty());
  EXPECT_EQ(shell.WindowWidget(Window::Login), first);
  EXPECT_EQ(shell.GetText(Window::Login, "编辑框1"), "1234567890");
  int loginWindows = 0;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top->objectName() == u"LoginWindow") ++loginWindows;
  }
  EXPECT_EQ(loginWindows, 1);

  first->showMinimized();
  ASSERT_TRUE(first->isMinimized());
  shell.LoadWindow(Window::Login);
  EXPECT_FALSE(first->isMinimized());
  EXPECT_TRUE(first->isVisible());
  EXPECT_TRUE(handler.events.empty());
}

TEST_F(ShellTest, VisibilityIsTheWindowsAndHidingKeepsItLoaded) {
  Load(Window::Login);
  EXPECT_TRUE(shell.IsVisible(Window::Login));
  shell.SetVisible(Window::Login, false);
  EXPECT_FALSE(shell.IsVisible(Window::Login));
  EXPECT_FALSE(shell.WindowWidget(Window::Login)->isVisible());
  EXPECT_TRUE(shell.IsLoaded(Window::Login));
  EXPECT_TRUE(handler.events.empty());
  shell.SetVisible(Window::Login, true);
  EXPECT_TRUE(shell.IsVisible(Window::Login));
  EXPECT_FALSE(shell.IsVisible(Window::Grade));  // not loaded
}

struct CloseCase {
  const char* label;
  Window window;
  const char* focusedControl;  // "" for the window itself
  bool byEscape;
};

void PrintTo(const CloseCase& c, std::ostream* out) {
  *out << c.label;
}

class CloseTest : public ShellTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(CloseTest, EscapeOrCloseRequestRaisesWillBeDestroyedOnceAndDestroysTheWindow) {
  const CloseCase& c = GetParam();
  QWidget* window = Load(c.window);
  ASSERT_NE(window, nullptr);
  text::Text titleDuringEvent;
  handler.onEvent = [&](const Event& e) {
    if (e.kind == Event::WillBeDestroyed) titleDuringEvent = shell.GetText(e.window, "");
  };
  QWidget* target = *c.focusedControl ? shell.Control(c.window, c.focusedControl) : window;
  target->setFocus();
  if (c.byEscape) {
    QTest::keyClick(target, Qt::Key_Escape);
  } else {
    window->close();
  }
  // KeyDown of an edit box comes first: the key goes down in the box before the window closes.
  ASSERT_FALSE(handler.events.empty());
  EXPECT_EQ(handler.events.back(), (Event{Event::WillBeDestroyed, c.window}));
  int destroyed = 0;
  for (const Event& e : handler.events) destroyed += e.kind == Event::WillBeDestroyed;
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(titleDuringEvent, "澄溪学院成绩计算器");
  EXPECT_FALSE(shell.IsLoaded(c.window));
  EXPECT_FALSE(shell.IsVisible(c.window));
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(shell.GetText(c.window, ""), "");

  // A second close request of the same window raises nothing more.
  const size_t eventCount = handler.events.size();
  window->close();
  EXPECT_EQ(handler.events.size(), eventCount);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, CloseTest,
    ::testing::Values(CloseCase{"LoginEscInNumberBox", Window::Login, "编辑框1", true},
                      CloseCase{"LoginEscInPasswordBox", Window::Login, "编辑框2", true},
                      CloseCase{"LoginEscOnButton", Window::Login, "按钮1", true},
                      CloseCase{"LoginCloseRequest", Window::Login, "", false},
                      CloseCase{"GradeEscInList", Window::Grade, "超级列表框1", true},
                      CloseCase{"GradeEscOnSelectAll", Window::Grade, "选择框1", true},
                      CloseCase{"GradeEscOnButton", Window::Grade, "按钮2", true},
                      CloseCase{"GradeCloseRequest", Window::Grade, "", false}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(ShellTest, CloseWithALoadedWindowLeftKeepsTheOther) {
  Load(Window::Login);
  Load(Window::Grade);
  shell.WindowWidget(Window::Grade)->close();
  EXPECT_TRUE(shell.IsLoaded(Window::Login));
  EXPECT_FALSE(shell.IsLoaded(Window::Grade));
  // Loading it again after it was destroyed makes a new one.
  shell.LoadWindow(Window::Grade);
  EXPECT_TRUE(shell.IsVisible(Window::Grade));
}

struct KeyCase {
  const char* label;
  const char* control;
  Qt::Key key;
  Qt::KeyboardModifiers modifiers;
  int code;
  int modifierBits;
};

void PrintTo(const KeyCase& c, std::ostream* out) {
  *out << c.label;
}

class EditKeyTest : public ShellTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(EditKeyTest, KeyDownCarriesTheVirtualKeyCodeAndFocusStays) {
  const KeyCase& c = GetParam();
  Load(Window::Login);
  auto* edit = Get<QLineEdit>(Window::Login, c.control);
  edit->setFocus();
  ASSERT_TRUE(edit->hasFocus());
  QTest::keyClick(edit, c.key, c.modifiers);
  // A modifier key goes down first and has its own event.
  ASSERT_FALSE(handler.events.empty());
  EXPECT_EQ(handler.events.back(),
            (Event{Event::KeyDown, Window::Login, c.control, c.code, c.modifierBits}));
  EXPECT_EQ(handler.events.size(), c.modifierBits == 0 ? 1u : 2u);
  EXPECT_TRUE(edit->hasFocus());
}

INSTANTIATE_TEST_SUITE_P(
    Keys, EditKeyTest,
    ::testing::Values(
        KeyCase{"EnterInNumber", "编辑框1", Qt::Key_Return, Qt::NoModifier, 13, 0},
        KeyCase{"EnterInPassword", "编辑框2", Qt::Key_Return, Qt::NoModifier, 13, 0},
        KeyCase{"ShiftEnter", "编辑框2", Qt::Key_Return, Qt::ShiftModifier, 13, kModifierShift},
        KeyCase{"CtrlEnter", "编辑框1", Qt::Key_Return, Qt::ControlModifier, 13, kModifierCtrl},
        KeyCase{"KeypadEnter", "编辑框1", Qt::Key_Enter, Qt::KeypadModifier, 13, 0},
        KeyCase{"Letter", "编辑框1", Qt::Key_A, Qt::NoModifier, 'A', 0},
        KeyCase{"Digit", "编辑框2", Qt::Key_7, Qt::NoModifier, '7', 0}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(ShellTest, HeldEnterRaisesKeyDownOnceNotForEveryRepeat) {
  Load(Window::Login);
  auto* edit = Get<QLineEdit>(Window::Login, "编辑框2");
  edit->setFocus();
  QTest::keyPress(edit, Qt::Key_Return);
  for (int repeat = 0; repeat < 5; ++repeat) {
    QKeyEvent again(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r", /*autorep*/ true);
    QApplication::sendEvent(edit, &again);
  }
  QTest::keyRelease(edit, Qt::Key_Return);
  EXPECT_EQ(handler.events.size(), 1u);
}

TEST_F(ShellTest, KeyDownComesBeforeTheBoxTakesTheCharacter) {
  Load(Window::Login);
  auto* edit = Get<QLineEdit>(Window::Login, "编辑框1");
  text::Text textAtKeyDown = "unset";
  handler.onEvent = [&](const Event&) { textAtKeyDown = shell.GetText(Window::Login, "编辑框1"); };
  QTest::keyClick(edit, Qt::Key_X);
  EXPECT_EQ(textAtKeyDown, "");
  EXPECT_EQ(shell.GetText(Window::Login, "编辑框1"), "x");
}

TEST_F(ShellTest, ButtonClicksByMouseAndSpaceRaiseClicked) {
  Load(Window::Login);
  Load(Window::Grade);
  QTest::mouseClick(Get<QPushButton>(Window::Login, "按钮1"), Qt::LeftButton);
  QTest::mouseClick(Get<QPushButton>(Window::Grade, "按钮1"), Qt::LeftButton);
  auto* save = Get<QPushButton>(Window::Grade, "按钮2");
  save->setFocus();
  QTest::keyClick(save, Qt::Key_Space);
  // Enter on a button is not a click, and a right click is not either.
  QTest::keyClick(save, Qt::Key_Return);
  QTest::mouseClick(save, Qt::RightButton);
  EXPECT_THAT(handler.events, ElementsAre(Event{Event::Clicked, Window::Login, "按钮1"},
                                          Event{Event::Clicked, Window::Grade, "按钮1"},
                                          Event{Event::Clicked, Window::Grade, "按钮2"}));
}

TEST_F(ShellTest, SelectAllRaisesClickedAfterItsStateChangedByTheUserOnly) {
  Load(Window::Grade);
  auto* box = Get<QCheckBox>(Window::Grade, "选择框1");
  std::vector<bool> statesSeen;
  handler.onEvent = [&](const Event&) { statesSeen.push_back(shell.IsSelectAllTicked()); };

  shell.SetSelectAllTicked(true);
  EXPECT_TRUE(box->isChecked());
  EXPECT_TRUE(shell.IsSelectAllTicked());
  shell.SetSelectAllTicked(false);
  EXPECT_TRUE(handler.events.empty());

  QTest::mouseClick(box, Qt::LeftButton);  // on the caption, left of the box
  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() - 6, box->height() / 2));
  box->setFocus();
  QTest::keyClick(box, Qt::Key_Space);
  const Event clicked{Event::Clicked, Window::Grade, "选择框1"};
  EXPECT_THAT(handler.events, ElementsAre(clicked, clicked, clicked));
  EXPECT_EQ(statesSeen, (std::vector<bool>{true, false, true}));
}

TEST_F(ShellTest, TextsKeepTheProgramsBytesAndConvertWhatTheStudentTyped) {
  Load(Window::Login);
  Load(Window::Grade);
  // Bytes that are not GBK show as U+FFFD and still read back as they were set.
  const text::Text broken = "成绩\xFF\x81";
  shell.SetText(Window::Grade, "标签2", broken);
  EXPECT_EQ(Get<QLabel>(Window::Grade, "标签2")->text(), QString::fromUtf16(u"成绩\uFFFD\uFFFD"));
  EXPECT_EQ(shell.GetText(Window::Grade, "标签2"), broken);
  shell.SetText(Window::Login, "", "新标题");
  EXPECT_EQ(shell.WindowWidget(Window::Login)->windowTitle(), QString::fromUtf16(u"新标题"));
  EXPECT_EQ(shell.GetText(Window::Login, ""), "新标题");
  shell.SetText(Window::Grade, "分组框1", "框");
  EXPECT_EQ(shell.GetText(Window::Grade, "分组框1"), "框");

  // Typed text: a character GBK lacks reads back as "?".
  auto* edit = Get<QLineEdit>(Window::Login, "编辑框1");
  shell.SetText(Window::Login, "编辑框1", "x\xFF");
  CommitText(edit, QString::fromUtf16(u"学号한"));
  EXPECT_EQ(shell.GetText(Window::Login, "编辑框1"), "x?学号?");

  // Unknown controls read as empty and ignore writes.
  shell.SetText(Window::Login, "没有这个", "x");
  EXPECT_EQ(shell.GetText(Window::Login, "没有这个"), "");
  EXPECT_EQ(shell.GetText(Window::Grade, "超级列表框1"), "");
}

TEST_F(ShellTest, OperationsOnAWindowThatIsNotLoadedDoNothing) {
  EXPECT_EQ(shell.GetText(Window::Grade, "标签1"), "");
  shell.SetText(Window::Grade, "标签1", "x");
  shell.SetVisible(Window::Grade, true);
  EXPECT_FALSE(shell.IsVisible(Window::Grade));
  EXPECT_FALSE(shell.IsSelectAllTicked());
  shell.SetSelectAllTicked(true);
  EXPECT_EQ(shell.ListRowCount(), 0);
  EXPECT_EQ(shell.ListAppendRow("x"), -1);
  EXPECT_EQ(shell.ListCell(0, 0), "");
  shell.ListSetTicked(0, true);
  EXPECT_FALSE(shell.ListTicked(0));
  EXPECT_FALSE(shell.IsLoaded(Window::Grade));
}

}  // namespace
}  // namespace ui::testing
