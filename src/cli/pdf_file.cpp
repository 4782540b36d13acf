#include "cli/pdf_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <QPrinter>
#include <QString>

#include <cerrno>
#include <cstring>
#include <exception>
#include <stdexcept>
#include <string_view>
#include <thread>
#include <vector>

#include "cli/cli_error.h"
#include "os/files/file_io.h"
#include "os/files/output_file.h"

namespace tabulo::cli {
namespace {

// A pipe whose bytes a thread of its own copies into a file descriptor.
// After the first failed write the rest is read and dropped, so that the
// writer never blocks; finish() reports the failure.
class PipeCopy {
public:
    PipeCopy(int target, const std::string& path) : m_target(target), m_path(path) {
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0) throw CliError(path + ": " + std::strerror(errno));
        m_read = ends[0];
        m_write = ends[1];
        try {
            m_thread = std::thread([this] { copy(); });
        } catch (...) {
            ::close(m_read);
            ::close(m_write);
            throw;
        }
    }
    ~PipeCopy() {
        if (m_thread.joinable()) wait();
    }
    PipeCopy(const PipeCopy&) = delete;
    PipeCopy& operator=(const PipeCopy&) = delete;

    // A name under which the writer opens the pipe.
    std::string name() const { return "/proc/self/fd/" + std::to_string(m_write); }

    // Waits for every byte written so far (the writer has closed its end)
    // and throws the copy's failure, if any.
    void finish() {
        wait();
        if (m_failure) std::rethrow_exception(m_failure);
    }

private:
    void wait() {
        ::close(m_write);
        m_thread.join();
        ::close(m_read);
    }

    void copy() {
        std::vector<char> block(1 << 16);
        for (;;) {
            const ssize_t got = ::read(m_read, block.data(), block.size());
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) break;
            if (m_failure) continue;
            try {
                os::detail::writeAll(m_target, std::string_view(block.data(), static_cast<std::size_t>(got)), m_path);
            } catch (...) {
                m_failure = std::current_exception();
            }
        }
    }

    int m_target;
    std::string m_path;
    int m_read = -1;
    int m_write = -1;
    std::exception_ptr m_failure;
    std::thread m_thread;
};

}  // namespace

void printToPdfFile(QPrinter& printer, const std::string& path, const std::function<void()>& paint) {
    try {
        os::writeOutputFileWith(path, [&](int fd) {
            PipeCopy pipe(fd, path);
            printer.setOutputFileName(QString::fromLocal8Bit(pipe.name()));
            paint();
            pipe.finish();
        });
    } catch (const CliError&) {
        throw;
    } catch (const std::runtime_error& error) {
        throw CliError(error.what());
    }
}

}  // namespace tabulo::cli
