// The one crossing between the program's GBK texts and the wide (UTF-16) strings of the Win32
// controls, through code page 936 explicitly, whatever the system's ANSI code page is.
#pragma once

#include <string>

#include "text/text.h"

namespace ui {

// GBK bytes to UTF-16; what is not GBK shows as the system's replacement character.
std::wstring GbkToWide(const text::Text& gbk);

// UTF-16 to GBK; a character that GBK lacks becomes "?", as in an ANSI edit box.
text::Text WideToGbk(const std::wstring& wide);

}  // namespace ui
