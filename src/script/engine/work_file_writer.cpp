#include "script/engine/work_file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tabulo::script {

WorkFileWriter::WorkFileWriter(std::string path) : m_path(std::move(path)) {
    // Not truncated now: writing over a file cut to nothing makes the file
    // system flush it at close.
    m_fd = ::open(m_path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    struct stat info{};
    if (m_fd < 0 || ::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        if (m_fd >= 0) ::close(m_fd);
        throw ScriptFileError("can't open " + m_path);
    }
    m_earlierSize = info.st_size;
    m_filling = std::make_unique<char[]>(kWorkFileBlock);
}

WorkFileWriter::~WorkFileWriter() {
    if (m_writer.joinable()) {
        {
            const std::lock_guard lock(m_mutex);
            m_closing = true;
        }
        m_changed.notify_all();
        m_writer.join();
    }
    if (m_fd >= 0) {
        ::close(m_fd);
        ::unlink(m_path.c_str());
    }
}

void WorkFileWriter::append(std::string_view bytes) {
    if (bytes.size() <= kWorkFileBlock - m_used) {
        std::memcpy(m_filling.get() + m_used, bytes.data(), bytes.size());
        m_used += bytes.size();
        return;
    }
    handOver();
    if (bytes.size() < kWorkFileBlock) {
        std::memcpy(m_filling.get(), bytes.data(), bytes.size());
        m_used = bytes.size();
        return;
    }
    // A run as large as a block goes out as it is, after the blocks before it.
    waitUntilWritten();
    writeAll(bytes.data(), bytes.size());
}

void WorkFileWriter::handOver() {
    if (m_used == 0) return;
    if (!m_writer.joinable()) {
        m_writing = std::make_unique<char[]>(kWorkFileBlock);
        m_writer = std::thread([this] { writeBlocks(); });
    }
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_blockReady; });
    if (m_failed) throw ScriptFileError("can't write " + m_path);
    m_filling.swap(m_writing);
    m_writingSize = m_used;
    m_blockReady = true;
    lock.unlock();
    m_changed.notify_all();
    m_used = 0;
}

void WorkFileWriter::waitUntilWritten() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_blockReady; });
    if (m_failed) throw ScriptFileError("can't write " + m_path);
}

void WorkFileWriter::writeBlocks() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_blockReady || m_closing; });
        if (!m_blockReady) return;
        lock.unlock();
        bool written = true;
        try {
            writeAll(m_writing.get(), m_writingSize);
        } catch (const ScriptFileError&) {
            written = false;
        }
        lock.lock();
        m_failed = m_failed || !written;
        m_blockReady = false;
        m_changed.notify_all();
    }
}

void WorkFileWriter::writeAll(const char* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t put = ::write(m_fd, data + done, size - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) throw ScriptFileError("can't write " + m_path);
        done += static_cast<std::size_t>(put);
    }
    m_written += static_cast<off_t>(size);
}

void WorkFileWriter::finish() {
    waitUntilWritten();
    writeAll(m_filling.get(), m_used);
    m_used = 0;
    if (m_earlierSize > m_written && ::ftruncate(m_fd, m_written) != 0) throw ScriptFileError("can't write " + m_path);
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0) {
        ::unlink(m_path.c_str());
        throw ScriptFileError("can't write " + m_path);
    }
}

}  // namespace tabulo::script
