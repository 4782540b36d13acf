#include "os/files/recovery_copy.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "os/files/file_io.h"
#include "os/files/safe_save.h"

namespace tabulo::os {

using detail::Fd;
using detail::fail;

std::string keepRecoveryCopy(const std::string& document, const std::string& folder) {
    const std::string suffix = std::to_string(::getpid()) + "-XXXXXX";
    std::string part = folder + "/" + std::string(kSaveTempPrefix) + suffix;
    Fd out(::mkostemp(part.data(), O_CLOEXEC));
    if (out.get() < 0) fail(document, errno);
    try {
        if (::fchmod(out.get(), 0600) != 0) fail(document, errno);
        const Fd in(::open(document.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
        if (in.get() < 0) fail(document, errno);
        detail::writeAll(out.get(), std::string_view(document.c_str(), document.size() + 1), document);
        detail::copyAll(in.get(), out.get(), document);
        if (::fsync(out.get()) != 0) fail(document, errno);
        if (out.close() != 0) fail(document, errno);
        const std::string copy = folder + "/" + std::string(kRecoveryPrefix) + part.substr(part.size() - suffix.size());
        if (::rename(part.c_str(), copy.c_str()) != 0) fail(document, errno);
        detail::syncFolder(folder);
        return copy;
    } catch (...) {
        ::unlink(part.c_str());
        throw;
    }
}

void dropRecoveryCopy(const std::string& copy) {
    ::unlink(copy.c_str());
    detail::syncFolder(detail::folderOf(copy));
}

std::vector<RecoveryCopy> findRecoveryCopies(const std::string& folder) {
    std::vector<RecoveryCopy> found;
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), &::closedir);
    if (!dir) return found;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name(entry->d_name);
        if (name.substr(0, kRecoveryPrefix.size()) != kRecoveryPrefix) continue;
        if (detail::otherProcessRuns(detail::processOfName(name, kRecoveryPrefix))) continue;
        const std::string copy = folder + "/" + std::string(name);
        const Fd fd(::open(copy.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
        struct stat info {};
        if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) {
            continue;
        }
        std::string document;
        char buffer[4096];
        bool ended = false;
        while (!ended) {
            const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
            if (got <= 0) break;
            const std::string_view piece(buffer, static_cast<std::size_t>(got));
            const std::size_t end = piece.find('\0');
            document.append(piece.substr(0, end));
            ended = end != std::string_view::npos;
        }
        if (ended && !document.empty()) found.push_back({copy, document});
    }
    return found;
}

void restoreRecoveryCopy(const RecoveryCopy& recovery) {
    const Fd in(::open(recovery.copy.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    if (in.get() < 0) fail(recovery.document, errno);
    if (::lseek(in.get(), static_cast<off_t>(recovery.document.size() + 1), SEEK_SET) < 0) fail(recovery.document, errno);
    Fd out(::open(recovery.document.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600));
    if (out.get() < 0) fail(recovery.document, errno);
    struct stat info {};
    if (::fstat(out.get(), &info) != 0) fail(recovery.document, errno);
    if (!S_ISREG(info.st_mode)) fail(recovery.document, EINVAL);
    detail::copyAll(in.get(), out.get(), recovery.document);
    const off_t length = ::lseek(out.get(), 0, SEEK_CUR);
    if (length < 0 || ::ftruncate(out.get(), length) != 0) fail(recovery.document, errno);
    if (::fsync(out.get()) != 0) fail(recovery.document, errno);
    if (out.close() != 0) fail(recovery.document, errno);
    dropRecoveryCopy(recovery.copy);
}

}  // namespace tabulo::os
