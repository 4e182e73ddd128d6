#include "ui/qt/window_forms.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <climits>
#include <iterator>
#include <span>

#include "ui/qt/course_list.h"
#include "ui/qt/gbk.h"

namespace ui {
namespace {

constexpr const char* kTitle = "澄溪学院成绩计算器";
constexpr int kFrameWidth = 6;
constexpr int kFrameHeight = 26;

enum class Kind { GroupBox, Label, EditBox, PasswordBox, Button, CheckBox, List };

struct ControlForm {
  Kind kind;
  const char* name;
  const char* parent;  // "" for the window's client area
  int x, y, width, height;
  const char* text;
  Qt::Alignment alignment;
};

constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment kCentre = Qt::AlignHCenter | Qt::AlignVCenter;

// In creation order, which is also the tab order.
const ControlForm kLoginForm[] = {
    {Kind::GroupBox, "分组框1", "", 8, 8, 312, 176, "登录教务处系统", kLeft},
    {Kind::Label, "标签1", "分组框1", 16, 32, 40, 32, "学号：", kLeft},
    {Kind::Label, "标签2", "分组框1", 16, 72, 40, 32, "密码：", kLeft},
    {Kind::EditBox, "编辑框1", "分组框1", 64, 32, 224, 32, "", kLeft},
    {Kind::PasswordBox, "编辑框2", "分组框1", 64, 72, 224, 32, "", kLeft},
    {Kind::Button, "按钮1", "分组框1", 224, 120, 64, 32, "登录", kCentre},
    {Kind::Label, "标签3", "分组框1", 9, 120, 216, 32, "我们承诺不会上传或保存您的个人信息",
     kCentre},
};

const ControlForm kGradeForm[] = {
    {Kind::GroupBox, "分组框1", "", 8, 0, 464, 232, "", kLeft},
    {Kind::List, "超级列表框1", "分组框1", 8, 16, 444, 184, "", kLeft},
    {Kind::CheckBox, "选择框1", "分组框1", 8, 208, 88, 16, "全选", kCentre},
    {Kind::Button, "按钮1", "分组框1", 192, 202, 72, 24, "查看评价", kCentre},
    {Kind::Button, "按钮2", "分组框1", 296, 202, 72, 24, "保存成绩", kCentre},
    {Kind::Label, "标签1", "", 8, 232, 224, 32, "", kLeft},
    {Kind::Label, "标签2", "", 8, 264, 224, 32, "", kLeft},
    {Kind::Label, "标签3", "", 8, 296, 224, 32, "", kLeft},
    {Kind::Label, "标签4", "", 240, 232, 224, 32, "", kLeft},
    {Kind::Label, "标签5", "", 240, 264, 224, 32, "", kLeft},
    {Kind::Label, "标签6", "", 240, 296, 224, 32, "", kLeft},
};

QWidget* CreateControl(const ControlForm& form, QWidget* parent) {
  switch (form.kind) {
    case Kind::GroupBox: {
      auto* group = new QGroupBox(parent);
      group->setAlignment(form.alignment & Qt::AlignHorizontal_Mask);
      group->setFlat(false);
      return group;
    }
    case Kind::Label: {
      auto* label = new QLabel(parent);
      label->setTextFormat(Qt::PlainText);
      label->setWordWrap(false);
      label->setAlignment(form.alignment);
      return label;
    }
    case Kind::EditBox:
    case Kind::PasswordBox: {
      auto* edit = new EditBox(parent);
      edit->setMaxLength(INT_MAX);
      edit->setFrame(true);
      QPalette colours = edit->palette();
      colours.setColor(QPalette::Base, Qt::white);
      edit->setPalette(colours);
      if (form.kind == Kind::PasswordBox) {
        auto* style = new StarPasswordStyle;
        style->setParent(edit);
        edit->setStyle(style);
        edit->setEchoMode(QLineEdit::Password);
      }
      return edit;
    }
    case Kind::Button: {
      auto* button = new QPushButton(parent);
      button->setAutoDefault(false);
      button->setDefault(false);
      return button;
    }
    case Kind::CheckBox: {
      auto* box = new LeftTextCheckBox(parent);
      box->setLayoutDirection(Qt::RightToLeft);
      box->setChecked(false);
      return box;
    }
    case Kind::List:
      return new CourseList(parent);
  }
  return nullptr;
}

std::span<const ControlForm> FormOf(Window window) {
  if (window == Window::Login) return kLoginForm;
  return kGradeForm;
}

}  // namespace

QSize OuterSize(Window window) {
  return window == Window::Login ? QSize(337, 222) : QSize(485, 354);
}

QSize ClientSize(Window window) {
  return OuterSize(window) - QSize(kFrameWidth, kFrameHeight);
}

QFont ProgramFont() {
  QFont font;
  font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                    QStringLiteral("Noto Sans SC"), QStringLiteral("SimSun")});
  font.setPixelSize(12);
  return font;
}

WindowForm BuildWindowForm(Window window) {
  WindowForm form;
  form.window = std::make_unique<ShellWindow>();
  ShellWindow* top = form.window.get();
  top->setFont(ProgramFont());
  top->setFixedSize(ClientSize(window));
  top->setObjectName(window == Window::Login ? QStringLiteral("LoginWindow")
                                             : QStringLiteral("GradeWindow"));
  SetControlText(top, kTitle);
  for (const ControlForm& control : FormOf(window)) {
    QWidget* parent = top;
    if (control.parent[0] != '\0') parent = form.controls.at(control.parent);
    QWidget* widget = CreateControl(control, parent);
    widget->setObjectName(GbkToQString(control.name));
    widget->setGeometry(control.x, control.y, control.width, control.height);
    SetControlText(widget, control.text);
    form.controls.emplace(control.name, widget);
  }
  return form;
}

}  // namespace ui
