#include "tests/support/fake_shell.h"

namespace support {

namespace {

using FormTexts = std::vector<std::pair<text::Text, text::Text>>;

// The texts each window's controls have when it is created; "" names the window itself.
const FormTexts& FormOf(ui::Window window) {
  static const FormTexts login = {
      {"", "澄溪学院成绩计算器"},
      {"分组框1", "登录教务处系统"},
      {"标签1", "学号："},
      {"标签2", "密码："},
      {"编辑框1", ""},
      {"编辑框2", ""},
      {"按钮1", "登录"},
      {"标签3", "我们承诺不会上传或保存您的个人信息"},
  };
  static const FormTexts grade = {
      {"", "澄溪学院成绩计算器"},
      {"分组框1", ""},
      {"选择框1", "全选"},
      {"按钮1", "查看评价"},
      {"按钮2", "保存成绩"},
      {"标签1", ""},
      {"标签2", ""},
      {"标签3", ""},
      {"标签4", ""},
      {"标签5", ""},
      {"标签6", ""},
  };
  return window == ui::Window::Login ? login : grade;
}

}  // namespace

void FakeShell::LoadWindow(ui::Window window) {
  if (IsLoaded(window)) {
    visible_.insert(window);  // restored and brought to the front
    return;
  }
  for (const auto& [control, caption] : FormOf(window)) texts_[{window, control}] = caption;
  loaded_.insert(window);
  ++loadCounts_[window];
  if (handler_) handler_->Created(window);
  visible_.insert(window);
}

text::Text FakeShell::GetText(ui::Window window, const text::Text& control) const {
  const auto found = texts_.find({window, control});
  return found == texts_.end() ? text::Text() : found->second;
}

void FakeShell::SetText(ui::Window window, const text::Text& control, const text::Text& value) {
  texts_[{window, control}] = value;
  textWrites_.emplace_back(window, control, value);
}

void FakeShell::SetVisible(ui::Window window, bool visible) {
  if (visible) {
    visible_.insert(window);
  } else {
    visible_.erase(window);
  }
}

int FakeShell::ListAppendRow(const text::Text& firstColumn) {
  rows_.push_back(ListRow{{firstColumn}, false});
  return static_cast<int>(rows_.size()) - 1;
}

void FakeShell::ListSetCell(int row, int column, const text::Text& value) {
  if (row < 0 || row >= ListRowCount() || column < 0) return;
  std::vector<text::Text>& cells = rows_[static_cast<size_t>(row)].cells;
  if (static_cast<size_t>(column) >= cells.size()) cells.resize(static_cast<size_t>(column) + 1);
  cells[static_cast<size_t>(column)] = value;
}

text::Text FakeShell::ListCell(int row, int column) const {
  if (row < 0 || row >= ListRowCount() || column < 0) return {};
  const std::vector<text::Text>& cells = rows_[static_cast<size_t>(row)].cells;
  return static_cast<size_t>(column) < cells.size() ? cells[static_cast<size_t>(column)]
                                                    : text::Text();
}

void FakeShell::ListSetTicked(int row, bool ticked) {
  if (row < 0 || row >= ListRowCount()) return;
  rows_[static_cast<size_t>(row)].ticked = ticked;
}

bool FakeShell::ListTicked(int row) const {
  return row >= 0 && row < ListRowCount() && rows_[static_cast<size_t>(row)].ticked;
}

void FakeShell::ShowMessage(const text::Text& message, int icon, const text::Text& caption) {
  messages_.push_back(Message{message, icon, caption});
  if (messageHook_) messageHook_(messages_.back());
}

std::optional<std::filesystem::path> FakeShell::AskSaveFileName(const text::Text& proposedName) {
  proposedNames_.push_back(proposedName);
  if (saveAnswers_.empty()) return std::nullopt;
  std::optional<std::filesystem::path> answer = saveAnswers_.front();
  saveAnswers_.erase(saveAnswers_.begin());
  return answer;
}

void FakeShell::Run() {
  if (runScript_) runScript_();
}

void FakeShell::EndProgram(int exitCode) {
  if (!exitRoutineDone_) {
    exitRoutineDone_ = true;
    if (exitRoutine_) {
      ++exitRoutineRuns_;
      exitRoutine_();
    }
  }
  throw ProgramEnded{exitCode};
}

void FakeShell::Click(ui::Window window, const text::Text& control) {
  if (handler_) handler_->Clicked(window, control);
}

void FakeShell::ClickSelectAll() {
  selectAll_ = !selectAll_;
  if (handler_) handler_->Clicked(ui::Window::Grade, "选择框1");
}

void FakeShell::ToggleRow(int row) {
  if (row < 0 || row >= ListRowCount()) return;
  ListRow& listRow = rows_[static_cast<size_t>(row)];
  listRow.ticked = !listRow.ticked;
  if (handler_) handler_->ListToggled(row, listRow.ticked ? 1 : 0);
}

void FakeShell::PressKey(ui::Window window, const text::Text& control, int keyCode, int modifiers) {
  if (handler_) handler_->KeyDown(window, control, keyCode, modifiers);
}

void FakeShell::Close(ui::Window window) {
  if (!IsLoaded(window)) return;
  if (handler_) handler_->WillBeDestroyed(window);
  loaded_.erase(window);
  visible_.erase(window);
}

void FakeShell::Type(ui::Window window, const text::Text& control, const text::Text& value) {
  texts_[{window, control}] = value;
}

int FakeShell::LoadCount(ui::Window window) const {
  const auto found = loadCounts_.find(window);
  return found == loadCounts_.end() ? 0 : found->second;
}

void FakeShell::QueueSaveAnswer(std::optional<std::filesystem::path> answer) {
  saveAnswers_.push_back(std::move(answer));
}

}  // namespace support
