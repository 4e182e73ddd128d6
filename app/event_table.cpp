// Which event of which control starts which routine; every other event is ignored.
#include "app/program.h"
#include "app/program_texts.h"

namespace app {

Program::Program(ui::Shell& shell, grades::PageFetcher fetch, Clock clock)
    : shell_(shell), clock_(std::move(clock)), fetch_(fetch), plan_{text::Text(), fetch} {}

void Program::Created(ui::Window window) {
  if (window == ui::Window::Grade) GradeWindowCreated();
}

void Program::WillBeDestroyed(ui::Window window) {
  if (window == ui::Window::Grade) GradeWindowDestroyed();
}

void Program::Clicked(ui::Window window, const text::Text& control) {
  if (window == ui::Window::Login) {
    if (control == kButton1) TryLogin();
    return;
  }
  if (control == kSelectAllBox) {
    SelectAllClicked();
  } else if (control == kButton1) {
    ShowEvaluation();
  } else if (control == kButton2) {
    SaveReport();
  }
}

void Program::KeyDown(ui::Window window, const text::Text& control, int keyCode, int modifiers) {
  if (window == ui::Window::Login && (control == kNumberBox || control == kPasswordBox)) {
    LoginKeyDown(keyCode, modifiers);
  }
}

void Program::ListToggled(int /*row*/, int /*state*/) {
  UpdateSelectedTotals();
}

void Program::ReleaseProgramTexts() {
  reportText_ = text::Text();
  plan_.text = text::Text();
}

}  // namespace app
