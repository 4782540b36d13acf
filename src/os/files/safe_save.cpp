#include "os/files/safe_save.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <vector>

#include "os/files/regular_file.h"

namespace tabulo::os {
namespace {

[[noreturn]] void fail(const std::string& path, int error) {
    throw std::runtime_error(path + ": " + std::strerror(error));
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

// Closes a descriptor on every path out.
class Fd {
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd() {
        if (m_fd >= 0) ::close(m_fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }
    // Closes now and reports the close's own failure (delayed write errors).
    int close() {
        const int result = ::close(m_fd);
        m_fd = -1;
        return result;
    }

private:
    int m_fd;
};

void writeAll(int fd, std::string_view bytes, const std::string& path) {
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            fail(path, errno);
        }
        done += static_cast<std::size_t>(n);
    }
}

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

void writeInPlace(const std::string& target, std::string_view bytes) {
    Fd fd(::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    if (fd.get() < 0) fail(target, errno);
    writeAll(fd.get(), bytes, target);
    if (::ftruncate(fd.get(), static_cast<off_t>(bytes.size())) != 0) fail(target, errno);
    if (::fsync(fd.get()) != 0) fail(target, errno);
    if (fd.close() != 0) fail(target, errno);
}

void syncFolder(const std::string& folder) {
    const Fd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0) ::fsync(fd.get());
}

void replaceAtomically(const std::string& path, const std::string& target, std::string_view bytes,
                       const struct stat* old, const SaveOptions& options) {
    const std::string folder = folderOf(target);
    removeStaleSaveFiles(folder);
    std::string temp = folder + "/" + std::string(kSaveTempPrefix) + std::to_string(::getpid()) + "-XXXXXX";
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
        if (::fchmod(fd.get(), mode) != 0) fail(path, errno);
        writeAll(fd.get(), bytes, path);
        if (::fsync(fd.get()) != 0) fail(path, errno);
        if (fd.close() != 0) fail(path, errno);
        if (::rename(temp.c_str(), target.c_str()) != 0) fail(path, errno);
    } catch (...) {
        ::unlink(temp.c_str());
        throw;
    }
    syncFolder(folder);
}

}  // namespace

std::string resolveSaveTarget(const std::string& path) {
    std::string current = path;
    // As many links as the kernel follows in one path lookup.
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
        std::string link(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 255) + 1, '\0');
        const ssize_t n = ::readlink(current.c_str(), link.data(), link.size());
        if (n < 0) return current;
        link.resize(static_cast<std::size_t>(n));
        current = link.front() == '/' ? link : folderOf(current) + "/" + link;
    }
    throw std::runtime_error(path + ": " + std::strerror(ELOOP));
}

void saveFileBytes(const std::string& path, std::string_view bytes, const SaveOptions& options) {
    const std::string target = resolveSaveTarget(path);
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) throw NotRegularFileError(path, old.st_mode);
    if (exists && old.st_nlink > 1 && !options.privateFile) {
        writeInPlace(target, bytes);
    } else {
        replaceAtomically(path, target, bytes, exists ? &old : nullptr, options);
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
        // making is left alone. This process saves one file at a time, so
        // its own names, and names without a process id, are left over.
        const std::string_view rest = name.substr(kSaveTempPrefix.size());
        const std::size_t dash = rest.find('-');
        if (dash != std::string_view::npos && dash > 0 && dash < 10 &&
            rest.substr(0, dash).find_first_not_of("0123456789") == std::string_view::npos) {
            const pid_t pid = static_cast<pid_t>(std::stol(std::string(rest.substr(0, dash))));
            if (pid != ::getpid() && (::kill(pid, 0) == 0 || errno != ESRCH)) continue;
        }
        const std::string full = folder + "/" + std::string(name);
        struct stat info {};
        if (::lstat(full.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) continue;
        if (::unlink(full.c_str()) == 0) ++removed;
    }
    return removed;
}

}  // namespace tabulo::os
