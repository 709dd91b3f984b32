#pragma once

#include <string>
#include <string_view>

namespace platform {

// Replaces the content of the file at `path` and returns whether it did.
//
// Where it may (see WriteTarget), the file is replaced in one step: the text
// goes to a temporary file "<name>.XXXXXX" in the same folder, is flushed to
// disk and renamed over the old file, so a crash or a failed write never
// leaves a half-written file. A new file gets the usual permissions, an
// existing one keeps its own. After a replacement, temporaries of this file
// left behind by an earlier crash are removed.
//
// A folder that refuses new files (a writable file in a read-only folder) is
// written in place instead: the text is written over the file, which is cut to
// its length and flushed to disk. That is not one step, but it is the only way
// such a file can be saved at all.
//
// On failure the file is left as it was (a failed write in place may leave it
// torn) and false is returned.
bool WriteWholeFile(const std::string& path, std::string_view content);

// Removes the temporaries "<target>.XXXXXX" that a replacement of `target`
// left behind when it was killed half-way. Only regular files whose names
// match that pattern exactly are removed.
void RemoveStaleTemporaries(const std::string& target);

}  // namespace platform
