// The failures of tabulo-cli that end a subcommand with exit status 2. Their
// messages are UTF-8 text; main() prints them on standard error in the
// locale's encoding, after "tabulo-cli NAME: ".
#pragma once

#include <stdexcept>
#include <string>

namespace tabulo::cli {

// Any failure of a run: bad input, a file that cannot be read, an argument
// with no Shift-JIS form.
class CliError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A command line that does not fit the subcommand: main() adds the usage line.
class UsageError : public CliError {
public:
    using CliError::CliError;
};

// A file that cannot be opened or read. The path is kept as the bytes given,
// so that the message can show it in the locale's encoding.
class FileError : public CliError {
public:
    FileError(std::string path, int errorNumber);

    const std::string& path() const { return m_path; }
    int errorNumber() const { return m_errno; }

private:
    std::string m_path;
    int m_errno;
};

// Standard output could not be written (full disk, I/O error).
class WriteError : public CliError {
public:
    explicit WriteError(int errorNumber);
};

// The reader of standard output has gone away (EPIPE): the run ends quietly,
// as it would have ended by the signal.
class BrokenPipe : public std::exception {
public:
    const char* what() const noexcept override { return "broken pipe"; }
};

}  // namespace tabulo::cli
