// The widgets of the two windows that need more than Qt's stock behaviour.
#pragma once

#include <QCheckBox>
#include <QLineEdit>
#include <QProxyStyle>
#include <QWidget>
#include <functional>

#include "text/text.h"

namespace ui {

// A top-level window of the program: Esc asks to close it like the close button does, and the
// close request goes to onClose before the window goes away.
class ShellWindow : public QWidget {
 public:
  ShellWindow();
  std::function<void()> onClose;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  bool closing_ = false;
};

// A single-line edit box that reports every key going down before it handles the key itself,
// as a key-down event comes before the character it types.
class EditBox : public QLineEdit {
 public:
  using QLineEdit::QLineEdit;
  std::function<void(int keyCode, int modifiers)> onKeyDown;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

// Makes a password box show every character as "*" (the stock style shows a bullet).
class StarPasswordStyle : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override;
};

// A check box with its caption to the left of the box, centred in the room left of it; the whole
// control takes clicks.
class LeftTextCheckBox : public QCheckBox {
 public:
  using QCheckBox::QCheckBox;

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool hitButton(const QPoint& pos) const override;
};

// A control's text (edit box, label, button, check box, group box caption; a window's title).
// The bytes set from the program come back unchanged while the control still shows them; text
// the student changed is converted from what the control shows.
void SetControlText(QWidget* control, const text::Text& value);
text::Text ControlText(const QWidget* control);

}  // namespace ui
