// Fixed texts of the server's pages that both grade parsers rely on.
#pragma once

#include "text/text.h"

namespace grades {

// The opening tag of every cell the parsers read, on the grade page and on the plan page.
inline const text::Text kCenterCellTag = "<td align=\"center\">";

// Lines of a cell or row: the pages are written with CR LF.
inline const text::Text kLineSeparator = "\r\n";

}  // namespace grades
