// Writing a file the user asked for (a PDF, a picture): checked to the last
// byte, and never a cut file under its name. A regular file (or a missing
// one) is saved as documents are, through a temporary file that replaces it
// once complete; an existing device, FIFO or socket (/dev/stdout, a pipe)
// is written into as it is and never renamed over or removed; a folder is
// an error.
#pragma once

#include <string>
#include <string_view>

#include "os/files/safe_save.h"

namespace tabulo::os {

// Throws std::runtime_error "<path>: <system reason>".
void writeOutputFile(const std::string& path, std::string_view bytes);

// The same for contents that `write` puts into the descriptor it is given
// (safe_save.h), for output produced as it is written.
void writeOutputFileWith(const std::string& path, const FileWriter& write);

}  // namespace tabulo::os
