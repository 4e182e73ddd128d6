// The one crossing between the program's GBK texts and Qt's UTF-16 strings.
#pragma once

#include <QString>

#include "text/text.h"

namespace ui {

// GBK (code page 936) bytes to UTF-16. What is not GBK shows as U+FFFD and the conversion goes on
// after it: an unmapped two-byte character gives one, a stray byte gives one.
QString GbkToQString(const text::Text& gbk);

// UTF-16 to GBK. A character that GBK lacks becomes "?", as in an ANSI edit box; so does a lone
// surrogate and U+0000 (a Text holds no zero byte).
text::Text QStringToGbk(const QString& utf16);

}  // namespace ui
