// Free space for a file about to be written: statvfs of the folder that
// will hold it (available blocks × fragment size, the bytes this user may
// still write). Tests replace the query with a hook to show the "unknown"
// and "too small" answers without filling a disk.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace tabulo::platform {

struct FreeSpace {
    std::optional<std::uint64_t> bytes;  // std::nullopt: the query failed
    std::string drive;                   // mount point of the folder, shown in messages
};

// The free space where `path` (a file, existing or not) would be written.
FreeSpace freeSpaceFor(const std::string& path);

// Replaces the query (`folder` is the folder of the path); an empty
// function restores statvfs.
using FreeSpaceQuery = std::function<FreeSpace(const std::string& folder)>;
void setFreeSpaceQuery(FreeSpaceQuery query);

}  // namespace tabulo::platform
