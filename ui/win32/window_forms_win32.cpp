#include "ui/win32/window_forms_win32.h"

namespace ui {
namespace {

using enum ControlKind;

const ControlForm kLoginForm[] = {
    {GroupBox, "分组框1", "", 8, 8, 312, 176, "登录教务处系统"},
    {Label, "标签1", "分组框1", 16, 32, 40, 32, "学号："},
    {Label, "标签2", "分组框1", 16, 72, 40, 32, "密码："},
    {EditBox, "编辑框1", "分组框1", 64, 32, 224, 32, ""},
    {PasswordBox, "编辑框2", "分组框1", 64, 72, 224, 32, ""},
    {Button, "按钮1", "分组框1", 224, 120, 64, 32, "登录"},
    {CentredLabel, "标签3", "分组框1", 9, 120, 216, 32, "我们承诺不会上传或保存您的个人信息"},
};

const ControlForm kGradeForm[] = {
    {GroupBox, "分组框1", "", 8, 0, 464, 232, ""},
    {List, "超级列表框1", "分组框1", 8, 16, 444, 184, ""},
    {CheckBox, "选择框1", "分组框1", 8, 208, 88, 16, "全选"},
    {Button, "按钮1", "分组框1", 192, 202, 72, 24, "查看评价"},
    {Button, "按钮2", "分组框1", 296, 202, 72, 24, "保存成绩"},
    {Label, "标签1", "", 8, 232, 224, 32, ""},
    {Label, "标签2", "", 8, 264, 224, 32, ""},
    {Label, "标签3", "", 8, 296, 224, 32, ""},
    {Label, "标签4", "", 240, 232, 224, 32, ""},
    {Label, "标签5", "", 240, 264, 224, 32, ""},
    {Label, "标签6", "", 240, 296, 224, 32, ""},
};

// The spaces in the titles are part of them.
const ListColumn kColumns[] = {
    {"         课程名", 190}, {"  课程属性", 80}, {"学分", 50}, {"成绩", 50}, {"绩点", 50},
};

}  // namespace

SIZE OuterSize(Window window) {
  return window == Window::Login ? SIZE{337, 222} : SIZE{485, 354};
}

std::span<const ControlForm> FormOf(Window window) {
  if (window == Window::Login) return kLoginForm;
  return kGradeForm;
}

std::span<const ListColumn> ListColumns() {
  return kColumns;
}

}  // namespace ui
