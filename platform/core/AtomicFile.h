#pragma once

#include <string>
#include <string_view>

namespace platform {

// Replaces the file at `path` with `content` in one step: the text goes to a
// temporary file in the same folder, is flushed to disk and renamed over the
// old file, so a crash or a failed write never leaves a half-written file.
// A symbolic link is followed and its target replaced. A new file gets the
// usual permissions, an existing one keeps its own. On failure nothing is
// changed and false is returned.
bool WriteFileAtomically(const std::string& path, std::string_view content);

}  // namespace platform
