#include "platform/free_space.h"

#include <sys/stat.h>
#include <sys/statvfs.h>

#include <filesystem>
#include <utility>

namespace tabulo::platform {
namespace detail {

FreeSpaceQuery& query() {
    static FreeSpaceQuery hook;
    return hook;
}

// Walks up from the folder while the device stays the same.
std::string mountPointOf(const std::filesystem::path& folder) {
    struct stat here {};
    if (::stat(folder.c_str(), &here) != 0) return folder.string();
    std::filesystem::path current = folder;
    while (current.has_parent_path() && current.parent_path() != current) {
        const std::filesystem::path parent = current.parent_path();
        struct stat up {};
        if (::stat(parent.c_str(), &up) != 0 || up.st_dev != here.st_dev) break;
        current = parent;
    }
    return current.string();
}

FreeSpace statvfsQuery(const std::string& folder) {
    FreeSpace result;
    result.drive = mountPointOf(folder);
    struct statvfs info {};
    if (::statvfs(folder.c_str(), &info) == 0) {
        result.bytes = static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize;
    }
    return result;
}

}  // namespace detail

FreeSpace freeSpaceFor(const std::string& path) {
    std::error_code error;
    std::filesystem::path folder = std::filesystem::absolute(path, error).parent_path();
    if (error || folder.empty()) folder = ".";
    const std::string name = folder.lexically_normal().string();
    return detail::query() ? detail::query()(name) : detail::statvfsQuery(name);
}

void setFreeSpaceQuery(FreeSpaceQuery query) {
    detail::query() = std::move(query);
}

}  // namespace tabulo::platform
