// Writing a file the user asked for (a PDF, a picture): checked to the last
// byte, and never a cut file under its name. A regular file (or a missing
// one) is saved as documents are, through a temporary file that replaces it
// once complete; an existing device, FIFO or socket (/dev/stdout, a pipe)
// is written into as it is and never renamed over or removed; a folder is
// an error.
#pragma once

#include <string>
#include <string_view>

namespace tabulo::os {

// Throws std::runtime_error "<path>: <system reason>".
void writeOutputFile(const std::string& path, std::string_view bytes);

// A file in memory, for a writer that only takes a file name and would not
// tell of a failed write: it writes to path(), and the bytes are checked
// when they go to their real place.
class MemoryFile {
public:
    MemoryFile();
    ~MemoryFile();
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    // A name by which this process can open the file.
    std::string path() const;
    std::string bytes() const;

private:
    int m_fd;
};

}  // namespace tabulo::os
