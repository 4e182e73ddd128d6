// What every windowing layer does alike: where the events go, the exit routine and the end of
// the program, and the hooks that let tests run a shell without anything modal blocking them.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "ui/shell.h"

namespace ui {

class ShellBase : public Shell {
 public:
  void SetEventHandler(EventHandler* handler) override { handler_ = handler; }
  void SetExitRoutine(std::function<void()> routine) override { exitRoutine_ = std::move(routine); }
  // Runs the exit routine (at most once), then ends the process with the code; while
  // ThrowInsteadOfEnding is on it throws ProgramEnded instead of ending.
  [[noreturn]] void EndProgram(int exitCode) override;

  // --- Test hooks ------------------------------------------------------------------------------

  struct RecordedMessage {
    text::Text message;
    int icon = 0;
    text::Text caption;
    bool operator==(const RecordedMessage&) const = default;
  };

  // Unattended: message boxes (and the error box of StopWithError) record their message and
  // return at once; the save dialog records the proposed name and returns the next preset answer
  // (cancel when none is left) without showing itself.
  void SetUnattended(bool unattended) { unattended_ = unattended; }
  // Queues the answer of a later unattended save dialog: a path, or nullopt for cancel.
  void PresetSaveFileName(std::optional<std::filesystem::path> answer) {
    presetAnswers_.push_back(std::move(answer));
  }
  const std::vector<RecordedMessage>& RecordedMessages() const { return messages_; }
  const std::vector<text::Text>& ProposedSaveFileNames() const { return proposals_; }

  // Thrown by EndProgram, after the exit routine, while ThrowInsteadOfEnding is on. When it
  // leaves an event routine the shell catches it, as if the process had ended: the event loop of
  // Run stops, later events go nowhere, and PumpEvents throws it again into the routine that
  // pumped, so the routine goes no further.
  struct ProgramEnded {
    int exitCode;
  };
  void ThrowInsteadOfEnding(bool on) { throwInsteadOfEnding_ = on; }
  // The exit code of the EndProgram that ended the program, if one did while throwing was on.
  std::optional<int> EndedWithCode() const { return endedWith_; }

 protected:
  // True when the box was recorded instead of shown (unattended).
  bool RecordInsteadOfShowing(const text::Text& message, int icon, const text::Text& caption);
  // Unattended: the preset answer that stands for the dialog; nothing while attended.
  std::optional<std::optional<std::filesystem::path>> PresetAnswerInsteadOfDialog(
      const text::Text& proposedName);
  bool Ended() const { return endedWith_.has_value(); }

  EventHandler* handler_ = nullptr;

 private:
  std::function<void()> exitRoutine_;
  bool exitRoutineStarted_ = false;
  bool unattended_ = false;
  std::vector<RecordedMessage> messages_;
  std::vector<std::optional<std::filesystem::path>> presetAnswers_;
  std::vector<text::Text> proposals_;
  bool throwInsteadOfEnding_ = false;
  std::optional<int> endedWith_;
};

}  // namespace ui
