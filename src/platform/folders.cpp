// Program folder and work folder; see folders.h. No Qt here: the paths are
// plain byte strings as the file functions of the rest of the program use.
#include "platform/folders.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace tabulo::platform {

namespace detail {

// Environment paths that are unset, empty or relative count as unset, as the
// XDG base directory rules ask.
std::string absoluteEnv(const char* name)
{
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/') {
        return {};
    }
    return value;
}

std::string homeFolder()
{
    std::string home = absoluteEnv("HOME");
    if (home.empty()) {
        if (const passwd* entry = getpwuid(geteuid()); entry != nullptr && entry->pw_dir != nullptr) {
            home = entry->pw_dir;
        }
    }
    if (home.empty()) {
        throw std::runtime_error("プログラムフォルダを決められません: HOME が設定されていません");
    }
    return home;
}

std::string withSlash(std::string path)
{
    if (path.empty() || path.back() != '/') {
        path += '/';
    }
    return path;
}

[[noreturn]] void refuse(const std::string& path, const std::string& why)
{
    throw std::runtime_error("作業フォルダ " + path + " を使えません: " + why);
}

// Closes a descriptor on every path out.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0) {
            close(m_fd);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

// Makes sure `path` is a directory of ours with mode 0700. It is opened
// without following a symbolic link and checked through the open
// descriptor, so it cannot be swapped between the check and the repair.
void ensurePrivateFolder(const std::string& path)
{
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        refuse(path, std::strerror(errno));
    }
    const Descriptor folder(open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (folder.get() < 0) {
        const int error = errno;
        refuse(path, error == ENOTDIR || error == ELOOP ? "フォルダではありません"
                                                        : std::strerror(error));
    }
    struct stat info {};
    if (fstat(folder.get(), &info) != 0) {
        refuse(path, std::strerror(errno));
    }
    if (!S_ISDIR(info.st_mode)) {
        refuse(path, "フォルダではありません");
    }
    if (info.st_uid != geteuid()) {
        refuse(path, "他のユーザーのフォルダです");
    }
    if ((info.st_mode & 07777) != 0700 && fchmod(folder.get(), 0700) != 0) {
        refuse(path, std::string("アクセス権を 0700 にできません: ") + std::strerror(errno));
    }
}

}  // namespace detail

std::string programFolder()
{
    std::string folder;
    if (const char* home = std::getenv("TABULO_HOME"); home != nullptr && home[0] != '\0') {
        // A relative TABULO_HOME is taken from the current folder.
        folder = std::filesystem::absolute(home).string();
    } else {
        const std::string config = detail::absoluteEnv("XDG_CONFIG_HOME");
        folder = (config.empty() ? detail::homeFolder() + "/.config" : config) + "/tabulo";
    }
    // Every folder made here is private (0700): the program folder holds
    // the auto-backup of unsaved text and the settings.
    int error = 0;
    for (std::size_t slash = folder.find('/', 1); error == 0; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) error = errno;
        if (slash == std::string::npos) break;
    }
    if (error != 0 || !std::filesystem::is_directory(folder)) {
        throw std::runtime_error("プログラムフォルダ " + folder + " を作れません"
                                 + (error != 0 ? ": " + std::string(std::strerror(error)) : std::string()));
    }
    return detail::withSlash(folder);
}

std::string workFolder()
{
    const std::string runtime = detail::absoluteEnv("XDG_RUNTIME_DIR");
    std::string folder;
    if (!runtime.empty()) {
        folder = detail::withSlash(runtime) + "tabulo";
    } else {
        const std::string temp = detail::absoluteEnv("TMPDIR");
        folder = detail::withSlash(temp.empty() ? std::string("/tmp") : temp) + "tabulo-"
               + std::to_string(geteuid());
    }
    detail::ensurePrivateFolder(folder);
    return detail::withSlash(folder);
}

std::string programFileName()
{
    return "tabulo";
}

}  // namespace tabulo::platform
