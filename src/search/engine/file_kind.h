// What a path names, asked before a file is read: the grep and Cat read
// regular files only, so that a FIFO never blocks them and a device is never
// read; the tag jump tells text files from everything else by their bytes.
#pragma once

#include <string>

namespace tabulo::search {

enum class FileKind { Regular, Folder, Special, Missing };

// Follows symbolic links. Special covers FIFOs, devices and sockets.
FileKind fileKindOf(const std::string& path);

// The status-bar word for a file that is not searched ("FIFO", "device", ...).
std::string fileKindReason(FileKind kind);

// A regular file that is not an ELF program and has no zero byte in its
// first 4 KB: such a file opens as a document.
bool isTextFile(const std::string& path);

}  // namespace tabulo::search
