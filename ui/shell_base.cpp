#include "ui/shell_base.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace ui {

void ShellBase::EndProgram(int exitCode) {
  if (!exitRoutineStarted_) {
    exitRoutineStarted_ = true;
    if (exitRoutine_) exitRoutine_();
  }
  if (throwInsteadOfEnding_) {
    if (!endedWith_) endedWith_ = exitCode;
    throw ProgramEnded{exitCode};
  }
  std::cout.flush();
  std::cerr.flush();
  std::fflush(nullptr);
  std::_Exit(exitCode);
}

bool ShellBase::RecordInsteadOfShowing(const text::Text& message, int icon,
                                       const text::Text& caption) {
  if (!unattended_) return false;
  messages_.push_back({message, icon, caption});
  return true;
}

std::optional<std::optional<std::filesystem::path>> ShellBase::PresetAnswerInsteadOfDialog(
    const text::Text& proposedName) {
  if (!unattended_) return std::nullopt;
  proposals_.push_back(proposedName);
  if (presetAnswers_.empty()) return std::optional<std::filesystem::path>();
  std::optional<std::filesystem::path> answer = presetAnswers_.front();
  presetAnswers_.erase(presetAnswers_.begin());
  return answer;
}

}  // namespace ui
