// The two windows as their forms give them: every control at its place with its text and
// properties, the frame, the title, the centring, the course list's columns and the fonts.
#include <QCheckBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>

#include "tests/ui/shell_fixture.h"
#include "ui/qt/gbk.h"

namespace ui::testing {
namespace {

struct Expected {
  const char* kind;  // the Qt class the control is, or derives from
  const char* name;
  const char* parent;  // objectName of the parent widget
  QRect geometry;
  const char* text;
};

const Expected kLoginControls[] = {
    {"QGroupBox", "分组框1", "LoginWindow", {8, 8, 312, 176}, "登录教务处系统"},
    {"QLabel", "标签1", "分组框1", {16, 32, 40, 32}, "学号："},
    {"QLabel", "标签2", "分组框1", {16, 72, 40, 32}, "密码："},
    {"QLineEdit", "编辑框1", "分组框1", {64, 32, 224, 32}, ""},
    {"QLineEdit", "编辑框2", "分组框1", {64, 72, 224, 32}, ""},
    {"QPushButton", "按钮1", "分组框1", {224, 120, 64, 32}, "登录"},
    {"QLabel", "标签3", "分组框1", {9, 120, 216, 32}, "我们承诺不会上传或保存您的个人信息"},
};

const Expected kGradeControls[] = {
    {"QGroupBox", "分组框1", "GradeWindow", {8, 0, 464, 232}, ""},
    {"QTreeWidget", "超级列表框1", "分组框1", {8, 16, 444, 184}, ""},
    {"QCheckBox", "选择框1", "分组框1", {8, 208, 88, 16}, "全选"},
    {"QPushButton", "按钮1", "分组框1", {192, 202, 72, 24}, "查看评价"},
    {"QPushButton", "按钮2", "分组框1", {296, 202, 72, 24}, "保存成绩"},
    {"QLabel", "标签1", "GradeWindow", {8, 232, 224, 32}, ""},
    {"QLabel", "标签2", "GradeWindow", {8, 264, 224, 32}, ""},
    {"QLabel", "标签3", "GradeWindow", {8, 296, 224, 32}, ""},
    {"QLabel", "标签4", "GradeWindow", {240, 232, 224, 32}, ""},
    {"QLabel", "标签5", "GradeWindow", {240, 264, 224, 32}, ""},
    {"QLabel", "标签6", "GradeWindow", {240, 296, 224, 32}, ""},
};

struct WindowCase {
  Window window;
  const char* objectName;
  QSize outer;
  std::vector<Expected> controls;
};

void PrintTo(const WindowCase& c, std::ostream* out) {
  *out << c.objectName;
}

class WindowLayoutTest : public ShellTest, public ::testing::WithParamInterface<WindowCase> {};

TEST_P(WindowLayoutTest, EveryControlAtItsPlaceWithItsTextNameAndParent) {
  const WindowCase& c = GetParam();
  QWidget* window = Load(c.window);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->objectName(), QString::fromLatin1(c.objectName));

  // The form's controls and nothing else a program could address.
  const auto children = window->findChildren<QWidget*>();
  int named = 0;
  for (const QWidget* child : children) {
    if (!child->objectName().isEmpty() && !child->objectName().startsWith(u"qt_")) ++named;
  }
  EXPECT_EQ(named, static_cast<int>(c.controls.size()));

  for (const Expected& e : c.controls) {
    SCOPED_TRACE(e.name);
    QWidget* control = shell.Control(c.window, e.name);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->objectName(), GbkToQString(e.name));
    EXPECT_TRUE(control->inherits(e.kind)) << control->metaObject()->className();
    ASSERT_NE(control->parentWidget(), nullptr);
    EXPECT_EQ(control->parentWidget()->objectName(), GbkToQString(e.parent));
    EXPECT_EQ(control->geometry(), e.geometry);
    EXPECT_TRUE(control->isVisible());
    EXPECT_EQ(shell.GetText(c.window, e.name), e.text);
  }
}

TEST_P(WindowLayoutTest, FixedFrameWithCloseButtonOnlyCentredAndTitled) {
  const WindowCase& c = GetParam();
  QWidget* window = Load(c.window);
  ASSERT_NE(window, nullptr);
  const QSize client = c.outer - QSize(6, 26);
  EXPECT_EQ(window->size(), client);
  EXPECT_EQ(window->minimumSize(), client);
  EXPECT_EQ(window->maximumSize(), client);

  const Qt::WindowFlags flags = window->windowFlags();
  EXPECT_TRUE(flags.testFlag(Qt::Window));
  EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowSystemMenuHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_FALSE(flags.testFlag(Qt::Tool));

  const QRect screen = window->screen()->geometry();
  EXPECT_EQ(window->frameGeometry().topLeft(), QPoint((screen.width() - c.outer.width()) / 2,
                                                      (screen.height() - c.outer.height()) / 2));

  EXPECT_EQ(window->windowTitle(), QString::fromUtf16(u"澄溪学院成绩计算器"));
  EXPECT_EQ(shell.GetText(c.window, ""), "澄溪学院成绩计算器");
}

TEST_P(WindowLayoutTest, EveryCaptionFitsItsControlInAFontWithItsCharacters) {
  const WindowCase& c = GetParam();
  ASSERT_NE(Load(c.window), nullptr);
  for (const Expected& e : c.controls) {
    SCOPED_TRACE(e.name);
    QWidget* control = shell.Control(c.window, e.name);
    const QString caption = GbkToQString(e.text);
    const QFontMetrics metrics(control->font());
    for (const QChar ch : caption)
      EXPECT_TRUE(metrics.inFont(ch)) << static_cast<int>(ch.unicode());
    int room = control->width();
    if (qobject_cast<QPushButton*>(control) != nullptr) room -= 8;  // the button's bevel
    if (qobject_cast<QCheckBox*>(control) != nullptr) room -= 20;   // the box
    if (qobject_cast<QGroupBox*>(control) != nullptr) room -= 16;   // the frame's corners
    EXPECT_LE(metrics.horizontalAdvance(caption), room);
    EXPECT_LE(metrics.height(), control->height());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Windows, WindowLayoutTest,
    ::testing::Values(WindowCase{Window::Login,
                                 "LoginWindow",
                                 {337, 222},
                                 {std::begin(kLoginControls), std::end(kLoginControls)}},
                      WindowCase{Window::Grade,
                                 "GradeWindow",
                                 {485, 354},
                                 {std::begin(kGradeControls), std::end(kGradeControls)}}),
    [](const auto& info) { return std::string(info.param.objectName); });

TEST_F(ShellTest, LabelsAreSingleLinePlainTextAlignedAsTheFormSays) {
  Load(Window::Login);
  Load(Window::Grade);
  const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
  const std::pair<Window, const char*> leftLabels[] = {
      {Window::Login, "标签1"}, {Window::Login, "标签2"}, {Window::Grade, "标签1"},
      {Window::Grade, "标签2"}, {Window::Grade, "标签3"}, {Window::Grade, "标签4"},
      {Window::Grade, "标签5"}, {Window::Grade, "标签6"}};
  for (const auto& [window, name] : leftLabels) {
    auto* label = Get<QLabel>(window, name);
    EXPECT_EQ(label->alignment(), left) << name;
    EXPECT_FALSE(label->wordWrap());
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
  }
  EXPECT_EQ(Get<QLabel>(Window::Login, "标签3")->alignment(), Qt::AlignCenter);
  EXPECT_EQ(Get<QGroupBox>(Window::Login, "分组框1")->alignment(), Qt::AlignLeft);
}

TEST_F(ShellTest, LongestResultCaptionWithThirteenDigitsFitsItsLabel) {
  Load(Window::Grade);
  const text::Text captions[] = {"您的必修加权学分绩点：3.456789012345",
                                 "选择科目加权学分绩点：8.888888888888",
                                 "您的全科加权平均分：88.88888888888"};
  for (const text::Text& caption : captions) {
    shell.SetText(Window::Grade, "标签4", caption);
    auto* label = Get<QLabel>(Window::Grade, "标签4");
    EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width())
        << caption;
    EXPECT_EQ(shell.GetText(Window::Grade, "标签4"), caption);
  }
}

TEST_F(ShellTest, EditBoxesArePlainAndPasswordShowsStars) {
  Load(Window::Login);
  auto* number = Get<QLineEdit>(Window::Login, "编辑框1");
  auto* password = Get<QLineEdit>(Window::Login, "编辑框2");
  EXPECT_EQ(number->echoMode(), QLineEdit::Normal);
  EXPECT_EQ(password->echoMode(), QLineEdit::Password);
  for (QLineEdit* edit : {number, password}) {
    EXPECT_TRUE(edit->hasFrame());
    EXPECT_GE(edit->maxLength(), 1 << 30);  // no length limit
    EXPECT_EQ(edit->palette().color(QPalette::Base), QColor(Qt::white));
  }
  QTest::keyClicks(password, QStringLiteral("ab c&1"));
  EXPECT_EQ(password->displayText(), QStringLiteral("******"));
  EXPECT_EQ(shell.GetText(Window::Login, "编辑框2"), "ab c&1");
  QTest::keyClicks(number, QStringLiteral("2012"));
  EXPECT_EQ(number->displayText(), QStringLiteral("2012"));
}

TEST_F(ShellTest, ButtonsAreNotDefaultAndSelectAllHasItsCaptionLeft) {
  Load(Window::Login);
  Load(Window::Grade);
  const std::pair<Window, const char*> buttons[] = {
      {Window::Login, "按钮1"}, {Window::Grade, "按钮1"}, {Window::Grade, "按钮2"}};
  for (const auto& [window, name] : buttons) {
    auto* button = Get<QPushButton>(window, name);
    EXPECT_FALSE(button->autoDefault()) << name;
    EXPECT_FALSE(button->isDefault()) << name;
  }
  auto* box = Get<QCheckBox>(Window::Grade, "选择框1");
  EXPECT_FALSE(box->isChecked());
  EXPECT_EQ(box->layoutDirection(), Qt::RightToLeft);
  EXPECT_FALSE(shell.IsSelectAllTicked());
}

TEST_F(ShellTest, CourseListColumnsAndProperties) {
  Load(Window::Grade);
  auto* list = Get<QTreeWidget>(Window::Grade, "超级列表框1");
  const std::pair<const char16_t*, int> columns[] = {
      {u"         课程名", 190}, {u"  课程属性", 80}, {u"学分", 50}, {u"成绩", 50}, {u"绩点", 50}};
  ASSERT_EQ(list->columnCount(), 5);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(list->headerItem()->text(i), QString::fromUtf16(columns[i].first));
    EXPECT_EQ(list->columnWidth(i), columns[i].second);
    EXPECT_EQ(list->header()->sectionSize(i), columns[i].second);
  }
  QHeaderView* header = list->header();
  EXPECT_FALSE(list->isHeaderHidden());
  EXPECT_FALSE(header->sectionsClickable());
  EXPECT_FALSE(header->sectionsMovable());
  EXPECT_FALSE(header->stretchLastSection());
  EXPECT_EQ(header->defaultAlignment(), Qt::AlignLeft | Qt::AlignVCenter);
  EXPECT_FALSE(list->isSortingEnabled());
  EXPECT_FALSE(list->rootIsDecorated());
  EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
  EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
  EXPECT_EQ(list->editTriggers(), QAbstractItemView::NoEditTriggers);
  EXPECT_EQ(list->palette().color(QPalette::Base), QColor(Qt::white));
  EXPECT_EQ(list->palette().color(QPalette::Text), QColor(Qt::black));
  EXPECT_EQ(list->topLevelItemCount(), 0);
}

}  // namespace
}  // namespace ui::testing
