// Key codes as the key-down routines see them: Windows virtual key codes.
#include <gtest/gtest.h>

#include <QInputDevice>
#include <ostream>

#include "ui/qt/key_codes.h"

namespace ui {
namespace {

struct KeyCase {
  int key;
  Qt::KeyboardModifiers modifiers;
  int code;
};

void PrintTo(const KeyCase& c, std::ostream* out) {
  *out << "key " << std::hex << c.key << " modifiers " << c.modifiers.toInt() << std::dec
       << " code " << c.code;
}

class VirtualKeyCodeTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(VirtualKeyCodeTest, MapsQtKey) {
  const KeyCase& c = GetParam();
  // Our own keyboard: the default one is a process-wide object Qt never frees without an app.
  const QInputDevice keyboard;
  const QKeyEvent event(QEvent::KeyPress, c.key, c.modifiers, 0, 0, 0, QString(), false, 1,
                        &keyboard);
  EXPECT_EQ(VirtualKeyCode(event), c.code);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, VirtualKeyCodeTest,
    ::testing::Values(
        KeyCase{Qt::Key_Return, Qt::NoModifier, 13}, KeyCase{Qt::Key_Enter, Qt::KeypadModifier, 13},
        KeyCase{Qt::Key_Return, Qt::ShiftModifier, 13},
        KeyCase{Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier, 13},
        KeyCase{Qt::Key_A, Qt::NoModifier, 'A'}, KeyCase{Qt::Key_Z, Qt::ShiftModifier, 'Z'},
        KeyCase{Qt::Key_0, Qt::NoModifier, '0'}, KeyCase{Qt::Key_9, Qt::NoModifier, '9'},
        KeyCase{Qt::Key_5, Qt::KeypadModifier, 101},
        KeyCase{Qt::Key_Exclam, Qt::ShiftModifier, '1'},
        KeyCase{Qt::Key_ParenRight, Qt::ShiftModifier, '0'},
        KeyCase{Qt::Key_Asterisk, Qt::KeypadModifier, 106},
        KeyCase{Qt::Key_Escape, Qt::NoModifier, 27}, KeyCase{Qt::Key_Backspace, Qt::NoModifier, 8},
        KeyCase{Qt::Key_Tab, Qt::NoModifier, 9}, KeyCase{Qt::Key_Space, Qt::NoModifier, 32},
        KeyCase{Qt::Key_Left, Qt::NoModifier, 37}, KeyCase{Qt::Key_Delete, Qt::NoModifier, 46},
        KeyCase{Qt::Key_F1, Qt::NoModifier, 112}, KeyCase{Qt::Key_F12, Qt::NoModifier, 123},
        KeyCase{Qt::Key_Shift, Qt::ShiftModifier, 16},
        KeyCase{Qt::Key_Semicolon, Qt::NoModifier, 186},
        KeyCase{Qt::Key_Minus, Qt::NoModifier, 189},
        KeyCase{Qt::Key_Underscore, Qt::ShiftModifier, 189},
        KeyCase{Qt::Key_Apostrophe, Qt::NoModifier, 222},
        KeyCase{Qt::Key_unknown, Qt::NoModifier, 0}));

TEST(ModifierBitsTest, OneBitPerModifier) {
  EXPECT_EQ(ModifierBits(Qt::NoModifier), 0);
  EXPECT_EQ(ModifierBits(Qt::ControlModifier), kModifierCtrl);
  EXPECT_EQ(ModifierBits(Qt::ShiftModifier), kModifierShift);
  EXPECT_EQ(ModifierBits(Qt::AltModifier), kModifierAlt);
  EXPECT_EQ(ModifierBits(Qt::ShiftModifier | Qt::ControlModifier | Qt::KeypadModifier),
            kModifierCtrl | kModifierShift);
}

}  // namespace
}  // namespace ui
