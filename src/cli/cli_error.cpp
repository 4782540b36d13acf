// Messages of the file and write failures: the operating system's own text.
#include "cli/cli_error.h"

#include <cstring>

namespace tabulo::cli {

FileError::FileError(std::string path, int errorNumber)
    : CliError(std::strerror(errorNumber)), m_path(std::move(path)), m_errno(errorNumber) {}

WriteError::WriteError(int errorNumber)
    : CliError(std::string("write error on standard output: ") + std::strerror(errorNumber)) {}

}  // namespace tabulo::cli
