#include "ui/qt/qt_shell.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QScreen>
#include <QSettings>
#include <QTranslator>

#include "ui/qt/course_list.h"
#include "ui/qt/gbk.h"

namespace ui {
namespace {

// The shell the error box of StopWithError reports to (a plain function pointer has no context).
QtShell* g_shell = nullptr;

// The arguments of the QApplication the shell starts: the program reads no command line.
int g_argc = 1;
char g_programName[] = "chengxi-grades";
char* g_argv[] = {g_programName, nullptr};

constexpr const char* kSelectAllBox = "选择框1";
constexpr const char* kCourseList = "超级列表框1";

QMessageBox::Icon BoxIcon(int icon) {
  switch (icon) {
    case kIconError:
      return QMessageBox::Critical;
    case kIconInformation:
      return QMessageBox::Information;
    case 32:
      return QMessageBox::Question;
    case 48:
      return QMessageBox::Warning;
    default:
      return QMessageBox::NoIcon;
  }
}

// The save dialog; like the system's, it does not accept a path whose folder does not exist.
class SaveDialog : public QFileDialog {
 public:
  using QFileDialog::QFileDialog;

  void accept() override {
    const QStringList files = selectedFiles();
    if (!files.isEmpty() && !QFileInfo(files.first()).dir().exists()) {
      QMessageBox::warning(this, windowTitle(), GbkToQString("路径不存在。\n请检查路径是否正确。"));
      return;
    }
    QFileDialog::accept();
  }
};

}  // namespace

QtShell::QtShell() {
  if (QApplication::instance() == nullptr) {
    ownedApplication_ = std::make_unique<QApplication>(g_argc, g_argv);
  }
  // Run decides when the loop ends: a message box closed while every window is hidden must not
  // end it, and the hidden login window must not keep it going.
  QApplication::setQuitOnLastWindowClosed(false);
  // The program keeps no state between runs: the toolkit's save dialog would remember its folder
  // history in the user's settings. A folder below /dev/null can be neither read nor created.
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, "/dev/null/no-settings");
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, "/dev/null/no-settings");
  QApplication::setFont(ProgramFont());
  // The program speaks Chinese: the buttons and texts of the toolkit's own dialogs too
  // ("确定", "保存", "取消" …), whatever the system's language.
  translator_ = std::make_unique<QTranslator>();
  if (translator_->load(QLocale(QLocale::Chinese, QLocale::China), "qtbase", "_",
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(translator_.get());
  }
  previousShell_ = g_shell;
  g_shell = this;
  text::SetStopBox(&QtShell::ShowStopBox);
}

QtShell::~QtShell() {
  while (busyDepth_ > 0) SetBusy(false);
  if (g_shell == this) {
    g_shell = previousShell_;
    text::SetStopBox(g_shell != nullptr ? &QtShell::ShowStopBox : nullptr);
  }
  windows_.clear();
  closedWindows_.clear();
  QCoreApplication::removeTranslator(translator_.get());
}

const WindowForm* QtShell::Find(Window window) const {
  const auto found = windows_.find(window);
  return found == windows_.end() ? nullptr : &found->second;
}

QWidget* QtShell::WindowWidget(Window window) const {
  const WindowForm* form = Find(window);
  return form == nullptr ? nullptr : form->window.get();
}

QWidget* QtShell::Control(Window window, const text::Text& name) const {
  const WindowForm* form = Find(window);
  if (form == nullptr) return nullptr;
  const auto found = form->controls.find(name);
  return found == form->controls.end() ? nullptr : found->second;
}

CourseList* QtShell::List() const {
  return static_cast<CourseList*>(Control(Window::Grade, kCourseList));
}

void QtShell::Wire(Window window, WindowForm& form) {
  form.window->onClose = [this, window] { Closing(window); };
  for (const auto& [name, widget] : form.controls) {
    if (auto* edit = dynamic_cast<EditBox*>(widget)) {
      edit->onKeyDown = [this, window, name](int keyCode, int modifiers) {
        Dispatch([&](EventHandler& h) { h.KeyDown(window, name, keyCode, modifiers); });
      };
    } else if (auto* list = dynamic_cast<CourseList*>(widget)) {
      list->onToggled = [this](int row, int state) {
        Dispatch([&](EventHandler& h) { h.ListToggled(row, state); });
      };
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
      QObject::connect(button, &QAbstractButton::clicked, button, [this, window, name] {
        Dispatch([&](EventHandler& h) { h.Clicked(window, name); });
      });
    }
  }
}

void QtShell::LoadWindow(Window window) {
  if (const WindowForm* loaded = Find(window)) {
    QWidget* widget = loaded->window.get();
    if (widget->isMinimized()) {
      widget->showNormal();
    } else {
      widget->raise();
      widget->activateWindow();
    }
    return;
  }

  windows_.emplace(window, BuildWindowForm(window));
  Wire(window, windows_.at(window));
  if (handler_ != nullptr && !Ended()) handler_->Created(window);

  QWidget* widget = WindowWidget(window);
  if (widget == nullptr) return;
  const QScreen* primary = QGuiApplication::primaryScreen();
  const QRect screen = primary != nullptr ? primary->geometry() : QRect(0, 0, 0, 0);
  const QSize outer = OuterSize(window);
  widget->move(screen.x() + (screen.width() - outer.width()) / 2,
               screen.y() + (screen.height() - outer.height()) / 2);
  widget->show();
  widget->raise();
  widget->activateWindow();
}

bool QtShell::IsLoaded(Window window) const {
  return Find(window) != nullptr;
}

text::Text QtShell::GetText(Window window, const text::Text& control) const {
  const QWidget* widget = control.empty() ? WindowWidget(window) : Control(window, control);
  return widget == nullptr ? text::Text() : ControlText(widget);
}

void QtShell::SetText(Window window, const text::Text& control, const text::Text& value) {
  QWidget* widget = control.empty() ? WindowWidget(window) : Control(window, control);
  if (widget != nullptr) SetControlText(widget, value);
}

bool QtShell::IsVisible(Window window) const {
  const QWidget* widget = WindowWidget(window);
  return widget != nullptr && widget->isVisible();
}

void QtShell::SetVisible(Window window, bool visible) {
  if (QWidget* widget = WindowWidget(window)) widget->setVisible(visible);
}

bool QtShell::IsSelectAllTicked() const {
  const auto* box = static_cast<const QCheckBox*>(Control(Window::Grade, kSelectAllBox));
  return box != nullptr && box->isChecked();
}

void QtShell::SetSelectAllTicked(bool ticked) {
  // setChecked emits toggled, never clicked: no event for the program.
  if (auto* box = static_cast<QCheckBox*>(Control(Window::Grade, kSelectAllBox))) {
    box->setChecked(ticked);
  }
}

int QtShell::ListRowCount() const {
  const CourseList* list = List();
  return list == nullptr ? 0 : list->RowCount();
}

int QtShell::ListAppendRow(const text::Text& firstColumn) {
  CourseList* list = List();
  return list == nullptr ? -1 : list->AppendRow(firstColumn);
}

void QtShell::ListSetCell(int row, int column, const text::Text& value) {
  if (CourseList* list = List()) list->SetCell(row, column, value);
}

text::Text QtShell::ListCell(int row, int column) const {
  const CourseList* list = List();
  return list == nullptr ? text::Text() : list->Cell(row, column);
}

void QtShell::ListSetTicked(int row, bool ticked) {
  if (CourseList* list = List()) list->SetTicked(row, ticked);
}

bool QtShell::ListTicked(int row) const {
  const CourseList* list = List();
  return list != nullptr && list->Ticked(row);
}

void QtShell::ShowMessage(const text::Text& message, int icon, const text::Text& caption) {
  if (RecordInsteadOfShowing(message, icon, caption)) return;
  ShowBox(message, icon, caption);
}

void QtShell::ShowBox(const text::Text& message, int icon, const text::Text& caption) {
  QString shown = GbkToQString(message);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  QMessageBox box(BoxIcon(icon), GbkToQString(caption), shown, QMessageBox::Ok);
  box.setTextFormat(Qt::PlainText);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

void QtShell::ShowStopBox(const text::Text& boxText, const text::Text& caption) {
  if (g_shell == nullptr) return;
  if (g_shell->RecordInsteadOfShowing(boxText, kIconError, caption)) return;
  g_shell->ShowBox(boxText, kIconError, caption);
}

std::optional<std::filesystem::path> QtShell::AskSaveFileName(const text::Text& proposedName) {
  if (auto preset = PresetAnswerInsteadOfDialog(proposedName)) return *preset;

  SaveDialog dialog;
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(GbkToQString("Html网页文件 (*.html)"));
  dialog.setDefaultSuffix(QStringLiteral("html"));
  dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
  dialog.selectFile(GbkToQString(proposedName));
  dialog.setWindowModality(Qt::ApplicationModal);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty()) return std::nullopt;
  return std::filesystem::path(QFile::encodeName(files.first()).toStdString());
}

void QtShell::PumpEvents() {
  const bool endedBefore = Ended();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  if (!endedBefore && Ended()) throw ProgramEnded{*EndedWithCode()};
}

void QtShell::SetBusy(bool busy) {
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ++busyDepth_;
  } else if (busyDepth_ > 0) {
    QApplication::restoreOverrideCursor();
    --busyDepth_;
  }
}

bool QtShell::AnyWindowShown() const {
  for (const auto& [window, form] : windows_) {
    if (form.window->isVisible()) return true;
  }
  return false;
}

void QtShell::Run() {
  if (runLoop_ != nullptr) return;
  // A window that closes while a routine waits stops the loop, but the routine may still open
  // another one before the loop gets back control: the loop ends only with no window left.
  while (AnyWindowShown() && !Ended()) {
    QEventLoop loop;
    runLoop_ = &loop;
    loop.exec();
    runLoop_ = nullptr;
  }
}

void QtShell::Closing(Window window) {
  Dispatch([&](EventHandler& h) { h.WillBeDestroyed(window); });
  const auto found = windows_.find(window);
  if (found != windows_.end()) {
    closedWindows_.push_back(std::move(found->second));
    windows_.erase(found);
  }
  // The window itself hides once its close event returns; the loop ends with the last window.
  if (runLoop_ != nullptr && !AnyWindowShown()) runLoop_->exit();
}

void QtShell::Dispatch(const std::function<void(EventHandler&)>& routine) {
  if (handler_ == nullptr || Ended()) return;
  try {
    routine(*handler_);
  } catch (const ProgramEnded&) {
    if (runLoop_ != nullptr) runLoop_->exit();
  }
}

}  // namespace ui
