#pragma once

#include <optional>
#include <string>

namespace platform {

// The file a save of `path` may write, or nothing when it must not write at all.
//
// A symbolic link is followed (a chain of them too) only when every link
// belongs to the owner of the file it leads to, to the user running the
// program or to root: a link another user planted in a writable folder must
// not make a program run by root rewrite a file of its choice. A link that
// leads nowhere is followed only when its owner is the running user or root.
//
// An existing file whose mode gives its owner no write permission is
// read-only by intent and is not replaced, even by root; nor is a file the
// running user may not write.
std::optional<std::string> WriteTarget(const std::string& path);

}  // namespace platform
