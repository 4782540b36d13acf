#include "os/files/file_state.h"

#include <sys/stat.h>
#include <unistd.h>

namespace tabulo::os {

FileState fileStateOf(const std::string& path) {
    FileState state;
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return state;
    if (S_ISLNK(info.st_mode)) {
        state.link = true;
        std::string text(4096, '\0');
        const ssize_t n = ::readlink(path.c_str(), text.data(), text.size());
        text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
        state.linkText = std::move(text);
        if (::stat(path.c_str(), &info) != 0) return state;
    }
    state.exists = true;
    state.device = info.st_dev;
    state.inode = info.st_ino;
    state.size = info.st_size;
    state.modified = info.st_mtim;
    return state;
}

FileChange changeBetween(const FileState& known, const FileState& now) {
    if (now.link && !known.link) return FileChange::BecameLink;
    if (!now.exists) return known.exists ? FileChange::Deleted : FileChange::None;
    if (!known.exists) return FileChange::Created;
    if (now.link != known.link || now.linkText != known.linkText || now.device != known.device ||
        now.inode != known.inode) {
        return FileChange::Replaced;
    }
    if (now.size != known.size || now.modified.tv_sec != known.modified.tv_sec ||
        now.modified.tv_nsec != known.modified.tv_nsec) {
        return FileChange::Rewritten;
    }
    return FileChange::None;
}

}  // namespace tabulo::os
