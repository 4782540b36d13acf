#include "os/files/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "os/files/file_io.h"
#include "os/files/safe_save.h"

namespace tabulo::os {
namespace {

void writeInto(const std::string& path, const FileWriter& write) {
    detail::Fd fd(::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0) detail::fail(path, errno);
    write(fd.get());
    if (fd.close() != 0 && errno != EINTR) detail::fail(path, errno);
}

}  // namespace

void writeOutputFile(const std::string& path, std::string_view bytes) {
    writeOutputFileWith(path, [&](int fd) { detail::writeAll(fd, bytes, path); });
}

void writeOutputFileWith(const std::string& path, const FileWriter& write) {
    struct stat info{};
    if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        if (S_ISDIR(info.st_mode)) detail::fail(path, EISDIR);
        writeInto(path, write);
        return;
    }
    saveFileWith(path, write);
}

}  // namespace tabulo::os
