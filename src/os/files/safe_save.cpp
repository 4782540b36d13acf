#include "os/files/safe_save.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <vector>

#include "os/files/file_io.h"
#include "os/files/recovery_copy.h"
#include "os/files/regular_file.h"

namespace tabulo::os {
namespace {

using detail::Fd;
using detail::fail;
using detail::folderOf;
using detail::writeAll;

mode_t creationMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Extended attributes (ACLs and security labels included) of `from`, copied
// onto the open file. Attributes the file system or the user cannot set are
// left out rather than failing the save.
void copyExtendedAttributes(const std::string& from, int fd) {
    ssize_t size = ::listxattr(from.c_str(), nullptr, 0);
    if (size <= 0) return;
    std::vector<char> names(static_cast<std::size_t>(size));
    size = ::listxattr(from.c_str(), names.data(), names.size());
    if (size <= 0) return;
    std::vector<char> value;
    for (ssize_t at = 0; at < size;) {
        const char* name = names.data() + at;
        at += static_cast<ssize_t>(std::strlen(name)) + 1;
        const ssize_t length = ::getxattr(from.c_str(), name, nullptr, 0);
        if (length < 0) continue;
        value.resize(static_cast<std::size_t>(length));
        if (::getxattr(from.c_str(), name, value.data(), value.size()) != length) continue;
        ::fsetxattr(fd, name, value.data(), value.size(), 0);
    }
}

// Owner and group first (a change of owner clears set-id bits), then the
// mode. Only root may give a file away; a user keeps the group when a member.
void takeAttributes(int fd, const std::string& from, const struct stat& info) {
    if (::fchown(fd, info.st_uid, info.st_gid) != 0) ::fchown(fd, static_cast<uid_t>(-1), info.st_gid);
    copyExtendedAttributes(from, fd);
}

// A link another user could have planted: not the user's own, in a folder
// everyone may write in or a sticky one.
bool plantedLink(const std::string& link, const struct stat& info) {
    if (info.st_uid == ::geteuid()) return false;
    struct stat folder {};
    if (::stat(folderOf(link).c_str(), &folder) != 0) return true;
    return (folder.st_mode & (S_IWOTH | S_ISVTX)) != 0;
}

std::string tempTemplate(const std::string& folder) {
    return folder + "/" + std::string(kSaveTempPrefix) + std::to_string(::getpid()) + "-XXXXXX";
}

// Every link must see the new text, so the file is written in place; the
// new text is complete and flushed in a temporary file first, and the old
// text stays whole in a recovery copy until the in-place copy is flushed. A
// write that fails half-way puts the old text back at once.
void writeThroughLinks(const std::string& path, const std::string& target, const FileWriter& write,
                       const SaveOptions& options) {
    const std::string folder = folderOf(target);
    removeStaleSaveFiles(folder);
    std::string temp = tempTemplate(folder);
    Fd text(::mkostemp(temp.data(), O_CLOEXEC));
    if (text.get() < 0) fail(path, errno);
    std::string copy;
    try {
        write(text.get());
        if (::fsync(text.get()) != 0) fail(path, errno);
        struct stat written {};
        if (::fstat(text.get(), &written) != 0) fail(path, errno);
        copy = keepRecoveryCopy(target, options.recoveryFolder.value_or(folder));
        Fd fd(::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
        if (fd.get() < 0) fail(target, errno);
        if (::lseek(text.get(), 0, SEEK_SET) != 0) fail(path, errno);
        detail::copyAll(text.get(), fd.get(), path);
        if (::ftruncate(fd.get(), written.st_size) != 0) fail(target, errno);
        if (::fsync(fd.get()) != 0) fail(target, errno);
        if (fd.close() != 0) fail(target, errno);
    } catch (...) {
        ::unlink(temp.c_str());
        if (!copy.empty()) {
            try {
                restoreRecoveryCopy({copy, target});
            } catch (const std::exception&) {
                // The copy stays; the next start offers it.
            }
        }
        throw;
    }
    dropRecoveryCopy(copy);
    ::unlink(temp.c_str());
}

void replaceAtomically(const std::string& path, const std::string& target, const FileWriter& write,
                       const struct stat* old, const SaveOptions& options) {
    const std::string folder = folderOf(target);
    removeStaleSaveFiles(folder);
    std::string temp = tempTemplate(folder);
    Fd fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (fd.get() < 0) fail(path, errno);
    try {
        mode_t mode = creationMode();
        struct stat source {};
        if (options.attributesFrom && ::stat(options.attributesFrom->c_str(), &source) == 0) {
            takeAttributes(fd.get(), *options.attributesFrom, source);
            mode = source.st_mode & 07777;
        } else if (old) {
            takeAttributes(fd.get(), target, *old);
            mode = old->st_mode & 07777;
        }
        if (options.privateFile) mode = 0600;
        // While the text is incomplete (and when a kill leaves it behind) the
        // temporary file is readable by no one but its owner.
        if (::fchmod(fd.get(), mode & 0600) != 0) fail(path, errno);
        write(fd.get());
        if (::fsync(fd.get()) != 0) fail(path, errno);
        if (::fchmod(fd.get(), mode) != 0) fail(path, errno);
        if (fd.close() != 0) fail(path, errno);
        if (::rename(temp.c_str(), target.c_str()) != 0) fail(path, errno);
    } catch (...) {
        ::unlink(temp.c_str());
        throw;
    }
    detail::syncFolder(folder);
}

}  // namespace

std::string resolveSaveTarget(const std::string& path) {
    std::string current = path;
    // As many links as the kernel follows in one path lookup.
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode) || plantedLink(current, info)) return current;
        std::string link(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 255) + 1, '\0');
        const ssize_t n = ::readlink(current.c_str(), link.data(), link.size());
        if (n < 0) return current;
        link.resize(static_cast<std::size_t>(n));
        current = link.front() == '/' ? link : folderOf(current) + "/" + link;
    }
    throw std::runtime_error(path + ": " + std::strerror(ELOOP));
}

void saveFileBytes(const std::string& path, std::string_view bytes, const SaveOptions& options) {
    saveFileWith(path, [&](int fd) { writeAll(fd, bytes, path); }, options);
}

void saveFileWith(const std::string& path, const FileWriter& write, const SaveOptions& options) {
    const std::string target = options.followLink ? resolveSaveTarget(path) : path;
    struct stat old {};
    // A link still standing here is not followed: the saved file replaces it.
    const bool exists = ::lstat(target.c_str(), &old) == 0 && !S_ISLNK(old.st_mode);
    if (exists && !S_ISREG(old.st_mode)) throw NotRegularFileError(path, old.st_mode);
    if (exists && old.st_nlink > 1 && !options.privateFile) {
        writeThroughLinks(path, target, write, options);
    } else {
        replaceAtomically(path, target, write, exists ? &old : nullptr, options);
    }
}

int removeStaleSaveFiles(const std::string& folder) {
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), &::closedir);
    if (!dir) return 0;
    int removed = 0;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name(entry->d_name);
        if (name.substr(0, kSaveTempPrefix.size()) != kSaveTempPrefix) continue;
        // ".tabulo-save-<pid>-XXXXXX": a save another running process is
        // making is left alone; names without a process id are left over.
        if (detail::otherProcessRuns(detail::processOfName(name, kSaveTempPrefix))) continue;
        const std::string full = folder + "/" + std::string(name);
        struct stat info {};
        if (::lstat(full.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) continue;
        if (::unlink(full.c_str()) == 0) ++removed;
    }
    return removed;
}

}  // namespace tabulo::os
