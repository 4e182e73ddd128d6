#include "ui/qt/controls.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QStyleOptionButton>
#include <QStylePainter>

#include "ui/qt/gbk.h"
#include "ui/qt/key_codes.h"

namespace ui {

ShellWindow::ShellWindow()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {}

void ShellWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

void ShellWindow::closeEvent(QCloseEvent* event) {
  // A close request while the first one is still being handled changes nothing.
  if (!closing_) {
    closing_ = true;
    if (onClose) onClose();
  }
  event->accept();
}

void EditBox::keyPressEvent(QKeyEvent* event) {
  // A held key reports its first press only: holding Enter while the server is slow must not
  // start a new login with every repeat.
  if (onKeyDown && !event->isAutoRepeat()) {
    onKeyDown(VirtualKeyCode(*event), ModifierBits(event->modifiers()));
  }
  QLineEdit::keyPressEvent(event);
}

int StarPasswordStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                                 QStyleHintReturn* returnData) const {
  if (hint == SH_LineEdit_PasswordCharacter) return '*';
  if (hint == SH_LineEdit_PasswordMaskDelay) return 0;
  return QProxyStyle::styleHint(hint, option, widget, returnData);
}

void LeftTextCheckBox::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  option.direction = Qt::RightToLeft;  // the box at the right end

  QStyleOptionButton box = option;
  box.rect = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, this);
  painter.drawPrimitive(QStyle::PE_IndicatorCheckBox, box);

  QRect room = rect();
  room.setRight(box.rect.left() - 1);
  const int flags = Qt::AlignCenter | Qt::TextShowMnemonic;
  painter.drawItemText(room, flags, option.palette, isEnabled(), text(), QPalette::WindowText);
  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = fontMetrics().boundingRect(room, flags, text()).adjusted(-1, 0, 1, 0) & room;
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
  }
}

bool LeftTextCheckBox::hitButton(const QPoint& pos) const {
  return rect().contains(pos);
}

namespace {

// Dynamic properties holding the last bytes set from the program and what they showed as.
constexpr const char* kSetBytes = "cxSetBytes";
constexpr const char* kSetShown = "cxSetShown";

QString ShownText(const QWidget* control) {
  if (control->isWindow()) return control->windowTitle();
  if (const auto* edit = qobject_cast<const QLineEdit*>(control)) return edit->text();
  if (const auto* label = qobject_cast<const QLabel*>(control)) return label->text();
  if (const auto* button = qobject_cast<const QAbstractButton*>(control)) return button->text();
  if (const auto* group = qobject_cast<const QGroupBox*>(control)) return group->title();
  return {};
}

}  // namespace

void SetControlText(QWidget* control, const text::Text& value) {
  const QString shown = GbkToQString(value);
  if (control->isWindow()) {
    control->setWindowTitle(shown);
  } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
    edit->setText(shown);
  } else if (auto* label = qobject_cast<QLabel*>(control)) {
    label->setText(shown);
  } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
    button->setText(shown);
  } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
    group->setTitle(shown);
  } else {
    return;  // a control without a text (the course list)
  }
  control->setProperty(kSetBytes, QByteArray(value.data(), static_cast<qsizetype>(value.size())));
  control->setProperty(kSetShown, ShownText(control));
}

text::Text ControlText(const QWidget* control) {
  const QString shown = ShownText(control);
  const QVariant bytes = control->property(kSetBytes);
  if (bytes.isValid() && control->property(kSetShown).toString() == shown) {
    return bytes.toByteArray().toStdString();
  }
  return QStringToGbk(shown);
}

}  // namespace ui
