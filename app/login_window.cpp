// The login window: the form check, the login request and the reading of the server's answer.
#include "app/program.h"
#include "app/program_texts.h"
#include "web/percent_encode.h"

namespace app {

namespace {

bool WellFormed(const text::Text& number, const text::Text& password) {
  const int32_t n = text::TextLength(number);
  return (n == 10 || n == 13) && text::TextLength(password) >= 6;
}

// The values are percent-encoded so that "&", "#", "+", "%", spaces and Chinese characters reach
// the server as typed instead of cutting or changing the query.
text::Text LoginPath(const text::Text& number, const text::Text& password) {
  return text::JoinTexts(kLoginPathStart, web::PercentEncode(number), kLoginPathPassword,
                         web::PercentEncode(password));
}

}  // namespace

void Program::TryLogin() {
  const text::Text number = shell_.GetText(ui::Window::Login, kNumberBox);
  const text::Text password = shell_.GetText(ui::Window::Login, kPasswordBox);
  if (!WellFormed(number, password)) {
    shell_.ShowMessage(kFormatErrorMessage, ui::kIconError, kFormatErrorCaption);
    return;
  }

  const text::Text answer = fetch_(LoginPath(number, password));

  // The student closed the login window while the request ran: the program is ending, and no
  // other login of this run has opened the grade window.
  if (!shell_.IsVisible(ui::Window::Login) && !shell_.IsLoaded(ui::Window::Grade)) return;

  // No answer at all is a failed connection, not a login.
  if (answer.empty()) {
    shell_.ShowMessage(kNoAnswerMessage, ui::kIconError, kNetworkErrorCaption);
    return;
  }
  for (const text::Text& phrase : {kWrongPasswordPhrase, kUnknownNumberPhrase}) {
    if (text::FindText(answer, phrase, 1, false) != -1) {
      shell_.ShowMessage(phrase, ui::kIconError, kLoginFailedCaption);
      return;
    }
  }

  shell_.SetVisible(ui::Window::Login, false);
  shell_.LoadWindow(ui::Window::Grade);
  if (gradePageMissing_) {
    gradePageMissing_ = false;
    shell_.ShowMessage(kNoGradePageMessage, ui::kIconError, kNetworkErrorCaption);
  }
}

void Program::LoginKeyDown(int keyCode, int /*modifiers*/) {
  if (keyCode == kEnterKey) TryLogin();
}

}  // namespace app
