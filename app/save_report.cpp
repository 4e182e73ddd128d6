// Saving the result page to the file the student chooses.
#include "app/program.h"
#include "app/program_texts.h"
#include "export/default_file_name.h"
#include "export/save_file.h"

namespace app {

void Program::SaveReport() {
  const auto path = shell_.AskSaveFileName(report::DefaultFileName(clock_()));
  if (!path) return;

  if (const auto failure = report::SaveFile(*path, text::TextToBytes(reportText_))) {
    shell_.ShowMessage(text::JoinTexts(kSaveFailedPrefix, *failure), ui::kIconError, kProgramTitle);
    return;
  }
  shell_.ShowMessage(kSavedMessage, ui::kIconInformation, shell_.GetText(ui::Window::Login, ""));
}

}  // namespace app
