// The Win32 shell's real windows (under Wine in a virtual display): every control where the form
// puts it with its styles, the events as the program relies on them, the GBK crossing, and the
// hooks that keep modal boxes from blocking.
#include "ui/win32/win32_shell.h"

#include <commctrl.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ui {
namespace {

using ::testing::ElementsAre;
using text::Text;

class Recorder : public EventHandler {
 public:
  explicit Recorder(Win32Shell& shell) : shell_(shell) {}
  void Created(Window window) override {
    log.push_back(std::string("created ") + Name(window) +
                  (shell_.IsVisible(window) ? " shown" : " hidden"));
  }
  void WillBeDestroyed(Window window) override {
    log.push_back(std::string("destroyed ") + Name(window));
  }
  void Clicked(Window window, const Text& control) override {
    log.push_back(std::string("clicked ") + Name(window) + " " + control +
                  (shell_.IsSelectAllTicked() ? " ticked" : ""));
  }
  void KeyDown(Window window, const Text& control, int keyCode, int) override {
    log.push_back(std::string("key ") + Name(window) + " " + control + " " +
                  std::to_string(keyCode));
  }
  void ListToggled(int row, int state) override {
    log.push_back("toggled " + std::to_string(row) + " " + std::to_string(state) + " " +
                  (shell_.ListTicked(row) ? "1" : "0"));
  }
  std::vector<std::string> log;

 private:
  static const char* Name(Window window) { return window == Window::Login ? "login" : "grade"; }
  Win32Shell& shell_;
};

class Win32ShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shell_.SetEventHandler(&recorder_);
    shell_.SetUnattended(true);
  }
  // The control's place relative to its parent's client area.
  static RECT PlaceOf(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  static LONG_PTR Style(HWND hwnd) { return GetWindowLongPtrW(hwnd, GWL_STYLE); }
  void Pump() {
    for (int i = 0; i < 5; ++i) shell_.PumpEvents();
  }

  Win32Shell shell_;
  Recorder recorder_{shell_};
};

struct Place {
  Window window;
  const char* name;
  const char* parent;
  int x, y, width, height;
};

TEST_F(Win32ShellTest, EveryControlHasItsPlaceAndTheWindowsTheirFrames) {
  shell_.LoadWindow(Window::Login);
  shell_.LoadWindow(Window::Grade);
  const Place places[] = {
      {Window::Login, "分组框1", "", 8, 8, 312, 176},
      {Window::Login, "标签1", "分组框1", 16, 32, 40, 32},
      {Window::Login, "标签2", "分组框1", 16, 72, 40, 32},
      {Window::Login, "编辑框1", "分组框1", 64, 32, 224, 32},
      {Window::Login, "编辑框2", "分组框1", 64, 72, 224, 32},
      {Window::Login, "按钮1", "分组框1", 224, 120, 64, 32},
      {Window::Login, "标签3", "分组框1", 9, 120, 216, 32},
      {Window::Grade, "分组框1", "", 8, 0, 464, 232},
      {Window::Grade, "超级列表框1", "分组框1", 8, 16, 444, 184},
      {Window::Grade, "选择框1", "分组框1", 8, 208, 88, 16},
      {Window::Grade, "按钮1", "分组框1", 192, 202, 72, 24},
      {Window::Grade, "按钮2", "分组框1", 296, 202, 72, 24},
      {Window::Grade, "标签1", "", 8, 232, 224, 32},
      {Window::Grade, "标签6", "", 240, 296, 224, 32},
  };
  for (const Place& p : places) {
    SCOPED_TRACE(p.name);
    HWND control = shell_.Control(p.window, p.name);
    ASSERT_NE(control, nullptr);
    const HWND parent =
        p.parent[0] == '\0' ? shell_.WindowHandle(p.window) : shell_.Control(p.window, p.parent);
    EXPECT_EQ(GetParent(control), parent);
    const RECT r = PlaceOf(control);
    EXPECT_EQ(r.left, p.x);
    EXPECT_EQ(r.top, p.y);
    EXPECT_EQ(r.right - r.left, p.width);
    EXPECT_EQ(r.bottom - r.top, p.height);
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)),
              GetStockObject(DEFAULT_GUI_FONT));
  }

  for (const Window window : {Window::Login, Window::Grade}) {
    HWND top = shell_.WindowHandle(window);
    RECT r;
    GetWindowRect(top, &r);
    const SIZE outer = window == Window::Login ? SIZE{337, 222} : SIZE{485, 354};
    EXPECT_EQ(r.right - r.left, outer.cx);
    EXPECT_EQ(r.bottom - r.top, outer.cy);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - outer.cx) / 2);
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - outer.cy) / 2);
    const LONG_PTR style = Style(top);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU), WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
    EXPECT_EQ(shell_.GetText(window, ""), "澄溪学院成绩计算器");
  }

  HWND password = shell_.Control(Window::Login, "编辑框2");
  EXPECT_NE(Style(password) & ES_PASSWORD, 0);
  EXPECT_EQ(SendMessageW(password, EM_GETPASSWORDCHAR, 0, 0), L'*');
  EXPECT_EQ(Style(shell_.Control(Window::Login, "编辑框1")) & ES_PASSWORD, 0);
  EXPECT_NE(Style(shell_.Control(Window::Grade, "选择框1")) & BS_LEFTTEXT, 0);
  EXPECT_EQ(Style(shell_.Control(Window::Login, "按钮1")) & BS_DEFPUSHBUTTON, 0);

  HWND list = shell_.Control(Window::Grade, "超级列表框1");
  EXPECT_EQ(Style(list) & (LVS_TYPEMASK | LVS_SINGLESEL | LVS_NOSORTHEADER),
            LVS_REPORT | LVS_SINGLESEL | LVS_NOSORTHEADER);
  EXPECT_EQ(SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) &
                (LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES),
            LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  const int widths[] = {190, 80, 50, 50, 50};
  for (int column = 0; column < 5; ++column) {
    EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, column, 0), widths[column]);
  }
  wchar_t title[64] = {};
  LVCOLUMNW c{};
  c.mask = LVCF_TEXT;
  c.pszText = title;
  c.cchTextMax = 64;
  SendMessageW(list, LVM_GETCOLUMNW, 0, reinterpret_cast<LPARAM>(&c));
  EXPECT_EQ(std::wstring(title), L"         课程名");
}

TEST_F(Win32ShellTest, EventsComeFromTheStudentOnly) {
  shell_.LoadWindow(Window::Grade);
  EXPECT_TRUE(shell_.IsVisible(Window::Grade));
  for (const char* course : {"高等数学", "大学英语"}) shell_.ListAppendRow(course);
  shell_.ListSetTicked(0, true);
  shell_.ListSetTicked(1, true);
  shell_.SetSelectAllTicked(true);
  Pump();
  EXPECT_THAT(recorder_.log, ElementsAre("created grade hidden"));
  EXPECT_TRUE(shell_.IsSelectAllTicked());
  recorder_.log.clear();

  SendMessageW(shell_.Control(Window::Grade, "选择框1"), BM_CLICK, 0, 0);
  SendMessageW(shell_.Control(Window::Grade, "按钮2"), BM_CLICK, 0, 0);
  // Space on the focused row toggles its box.
  HWND list = shell_.Control(Window::Grade, "超级列表框1");
  SetFocus(list);
  LVITEMW focus{};
  focus.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
  focus.state = LVIS_FOCUSED | LVIS_SELECTED;
  SendMessageW(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&focus));
  SendMessageW(list, WM_KEYDOWN, VK_SPACE, 0);
  SendMessageW(list, WM_KEYUP, VK_SPACE, 0);
  Pump();
  EXPECT_THAT(recorder_.log,
              ElementsAre("clicked grade 选择框1", "clicked grade 按钮2", "toggled 1 0 0"));
  EXPECT_TRUE(shell_.ListTicked(0));
  EXPECT_FALSE(shell_.ListTicked(1));
  EXPECT_EQ(shell_.ListCell(0, 0), "高等数学");
  EXPECT_EQ(shell_.ListCell(0, 4), "");
  EXPECT_EQ(shell_.ListRowCount(), 2);
}

TEST_F(Win32ShellTest, KeysInTheEditBoxesAndEscClosing) {
  shell_.LoadWindow(Window::Login);
  HWND number = shell_.Control(Window::Login, "编辑框1");
  SetFocus(number);
  PostMessageW(number, WM_KEYDOWN, VK_RETURN, 0);
  PostMessageW(number, WM_CHAR, L'\r', 0);
  Pump();
  EXPECT_EQ(GetFocus(), number);  // Enter does not move the focus
  PostMessageW(number, WM_KEYDOWN, VK_ESCAPE, 0);
  Pump();
  EXPECT_THAT(recorder_.log, ElementsAre("created login hidden", "key login 编辑框1 13",
                                         "key login 编辑框1 27", "destroyed login"));
  EXPECT_FALSE(shell_.IsLoaded(Window::Login));
}

TEST_F(Win32ShellTest, TextsCrossAsGbk) {
  shell_.LoadWindow(Window::Login);
  const Text typed = "2020\xB5\xC7\xC2\xBC";  // 2020登录
  shell_.SetText(Window::Login, "编辑框1", typed);
  EXPECT_EQ(shell_.GetText(Window::Login, "编辑框1"), typed);
  wchar_t shown[32] = {};
  GetWindowTextW(shell_.Control(Window::Login, "编辑框1"), shown, 32);
  EXPECT_EQ(std::wstring(shown), L"2020登录");
  // What the student types that GBK lacks reads as "?".
  SetWindowTextW(shell_.Control(Window::Login, "编辑框2"), L"a\uD55Cb登");
  EXPECT_EQ(shell_.GetText(Window::Login, "编辑框2"), "a?b登");
}

TEST_F(Win32ShellTest, UnattendedBoxesAndTheEndOfTheProgram) {
  shell_.ShowMessage("成绩查询结果已保存", kIconInformation, "澄溪学院成绩计算器");
  shell_.PresetSaveFileName(std::filesystem::path(L"C:\\a.html"));
  EXPECT_EQ(shell_.AskSaveFileName("2014117澄溪成绩查询结果"),
            std::filesystem::path(L"C:\\a.html"));
  EXPECT_EQ(shell_.AskSaveFileName("x"), std::nullopt);
  EXPECT_THAT(shell_.RecordedMessages(),
              ElementsAre(Win32Shell::RecordedMessage{"成绩查询结果已保存", kIconInformation,
                                                      "澄溪学院成绩计算器"}));
  EXPECT_THAT(shell_.ProposedSaveFileNames(), ElementsAre("2014117澄溪成绩查询结果", "x"));

  int exits = 0;
  shell_.SetExitRoutine([&] { ++exits; });
  shell_.ThrowInsteadOfEnding(true);
  EXPECT_THROW(shell_.EndProgram(0), Win32Shell::ProgramEnded);
  EXPECT_THROW(shell_.EndProgram(3), Win32Shell::ProgramEnded);
  EXPECT_EQ(exits, 1);
  EXPECT_EQ(shell_.EndedWithCode(), 0);
}

}  // namespace
}  // namespace ui
