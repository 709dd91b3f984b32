#include "platform/core/WriteTarget.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

namespace platform {

namespace {

// The kernel gives up on longer chains as well.
constexpr int kMostLinks = 40;

}  // namespace

std::optional<std::string> WriteTarget(const std::string& path) {
    namespace fs = std::filesystem;
    std::vector<uid_t> linkOwners;
    fs::path current = path;
    for (;;) {
        struct stat link {};
        // Missing, or a folder on the way that cannot be searched: the write
        // itself creates the file or fails.
        if (::lstat(current.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) break;
        if (linkOwners.size() == kMostLinks) return std::nullopt;  // a loop
        linkOwners.push_back(link.st_uid);
        std::error_code error;
        const fs::path next = fs::read_symlink(current, error);
        if (error) return std::nullopt;
        current = next.is_absolute() ? next : current.parent_path() / next;
    }

    struct stat info {};
    const bool exists = ::stat(current.c_str(), &info) == 0;
    const uid_t self = ::geteuid();
    for (const uid_t owner : linkOwners) {
        const bool trusted = owner == self || owner == 0 || (exists && owner == info.st_uid);
        if (!trusted) return std::nullopt;
    }
    if (exists && S_ISREG(info.st_mode) && (info.st_mode & S_IWUSR) == 0) return std::nullopt;
    return current.string();
}

}  // namespace platform
