#include "platform/long_path.h"

#include <filesystem>

#include "platform/folders.h"

namespace tabulo::platform {

std::string longPathName(const std::string& path) {
    if (path.empty()) return path;
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error) return path;
    return absolute.lexically_normal().string();
}

std::string programRelative(const std::string& path) {
    const std::string folder = programFolder();
    if (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0) {
        return "./" + path.substr(folder.size());
    }
    return path;
}

std::string programFolderPath(const std::string& path) {
    if (path.rfind("./", 0) == 0) return programFolder() + path.substr(2);
    return path;
}

}  // namespace tabulo::platform
