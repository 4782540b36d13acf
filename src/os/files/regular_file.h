// Opening a file as text: only a regular file qualifies. A FIFO, a device,
// a socket or a folder is refused at once, without waiting for a writer and
// without reading endless bytes.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace tabulo::os {

// Raised for a path that exists but is not a regular file. The message is
// "<path>: 通常のファイルではありません（<kind>）".
class NotRegularFileError : public std::runtime_error {
public:
    NotRegularFileError(const std::string& path, mode_t mode);
};

// What a file of this mode is, in words ("フォルダ", "名前付きパイプ", ...).
std::string_view fileKindName(mode_t mode);

// Opens `path` for reading; the returned descriptor is blocking again and
// refers to a regular file. Throws NotRegularFileError, or
// std::runtime_error "<path>: <system reason>".
int openRegularFile(const std::string& path);

// The whole content of a regular file, for copies such as backups.
std::string readRegularFile(const std::string& path);

}  // namespace tabulo::os
