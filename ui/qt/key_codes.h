// Key codes as the program's key-down routines see them: Windows virtual key codes, so the routines
// compare with the same numbers on every platform (Enter is 13).
#pragma once

#include <QKeyEvent>

namespace ui {

// The modifier state passed with a key-down event: a bit set.
inline constexpr int kModifierCtrl = 1;
inline constexpr int kModifierShift = 2;
inline constexpr int kModifierAlt = 4;

// The virtual key code of the key: Return and keypad Enter are 13, letters their upper-case
// code 'A'..'Z', digit keys '0'..'9' (keypad digits 96..105), the US-layout punctuation keys the
// OEM codes (a shifted symbol gives its key's code: "!" is '1'). 0 for a key without a code.
int VirtualKeyCode(const QKeyEvent& event);

int ModifierBits(Qt::KeyboardModifiers modifiers);

}  // namespace ui
