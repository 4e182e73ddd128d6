// Writing the result page to the file the student chose.
#pragma once

#include <filesystem>
#include <optional>

#include "text/text.h"

namespace report {

// Writes exactly the bytes to a temporary file in the target's folder, flushes it to the disk and
// renames it over the target, so the target is either the old file, untouched, or the new one
// whole; a link as target is followed. nullopt on success, else the reason (a short GBK text),
// and no temporary file is left behind.
std::optional<text::Text> SaveFile(const std::filesystem::path& target, const text::Bytes& bytes);

}  // namespace report
