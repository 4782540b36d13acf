#include "script/engine/script_work_files.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

namespace tabulo::script {
namespace {

// Bytes gathered into large blocks before they go to the file; a run as
// large as a block goes out as it is.
class BlockWriter {
public:
    explicit BlockWriter(std::string path) : m_path(std::move(path)) {
        m_fd = ::open(m_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (m_fd < 0) throw ScriptFileError("can't open " + m_path);
        m_buffer = std::make_unique<char[]>(kWorkFileBlock);
    }
    BlockWriter(const BlockWriter&) = delete;
    BlockWriter& operator=(const BlockWriter&) = delete;
    ~BlockWriter() {
        if (m_fd >= 0) ::close(m_fd);
    }
    void append(std::string_view bytes) {
        if (bytes.size() > kWorkFileBlock - m_used) {
            flush();
            if (bytes.size() >= kWorkFileBlock) {
                writeAll(bytes.data(), bytes.size());
                return;
            }
        }
        std::memcpy(m_buffer.get() + m_used, bytes.data(), bytes.size());
        m_used += bytes.size();
    }
    void append(char c) {
        if (m_used == kWorkFileBlock) flush();
        m_buffer[m_used++] = c;
    }
    void finish() {
        flush();
        const int fd = m_fd;
        m_fd = -1;
        if (::close(fd) != 0) throw ScriptFileError("can't write " + m_path);
    }

private:
    void flush() {
        writeAll(m_buffer.get(), m_used);
        m_used = 0;
    }
    void writeAll(const char* data, std::size_t size) {
        std::size_t done = 0;
        while (done < size) {
            const ssize_t put = ::write(m_fd, data + done, size - done);
            if (put < 0 && errno == EINTR) continue;
            if (put <= 0) throw ScriptFileError("can't write " + m_path);
            done += static_cast<std::size_t>(put);
        }
    }
    std::string m_path;
    int m_fd = -1;
    std::unique_ptr<char[]> m_buffer;
    std::size_t m_used = 0;
};

void writeLines(const std::string& path, const DocumentLines& lines, int from, int to) {
    TargetFileWriter out(path);
    for (int i = from; i <= to; ++i) out.addLine(lines.lineAt(i));
    out.finish();
}

// A work file mapped into memory whole, so the result is assembled straight
// from the page cache. An optional file that does not exist reads as empty.
class MappedFile {
public:
    MappedFile(const std::string& path, bool optional) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            if (optional && errno == ENOENT) return;
            throw ScriptFileError("can't open " + path);
        }
        struct stat info{};
        if (::fstat(fd, &info) != 0) info.st_size = 0;
        if (info.st_size > 0) {
            m_size = static_cast<std::size_t>(info.st_size);
            m_data = ::mmap(nullptr, m_size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
        }
        ::close(fd);
        if (m_data == MAP_FAILED) throw ScriptFileError("can't read " + path);
    }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    ~MappedFile() {
        if (m_data) ::munmap(m_data, m_size);
    }
    std::string_view bytes() const { return m_data ? std::string_view(static_cast<const char*>(m_data), m_size) : ""; }

private:
    void* m_data = nullptr;
    std::size_t m_size = 0;
};

// Copies `bytes` into `out`, every CR LF, LF or lone CR becoming `lineBreak`.
// Runs whose breaks already are `lineBreak` go out unsplit, so a file in the
// document's convention is written as it is.
void appendWithLineBreaks(std::string_view bytes, BlockWriter& out, std::string_view lineBreak) {
    const char* const end = bytes.data() + bytes.size();
    const char* start = bytes.data();
    const char* p = start;
    const char* nextCr = nullptr;
    const char* nextLf = nullptr;
    while (p < end) {
        if (nextCr < p) {
            nextCr = static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(end - p)));
            if (!nextCr) nextCr = end;
        }
        if (nextLf < p) {
            nextLf = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
            if (!nextLf) nextLf = end;
        }
        const char* const at = std::min(nextCr, nextLf);
        if (at == end) break;
        const std::size_t length = *at == '\r' && at + 1 < end && at[1] == '\n' ? 2 : 1;
        if (std::string_view(at, length) != lineBreak) {
            out.append(std::string_view(start, static_cast<std::size_t>(at - start)));
            out.append(lineBreak);
            start = at + length;
        }
        p = at + length;
    }
    out.append(std::string_view(start, static_cast<std::size_t>(end - start)));
}

}  // namespace

class TargetFileWriter::Blocks : public BlockWriter {
public:
    using BlockWriter::BlockWriter;
};

TargetFileWriter::TargetFileWriter(const std::string& path) : m_blocks(std::make_unique<Blocks>(path)) {}

TargetFileWriter::~TargetFileWriter() = default;

void TargetFileWriter::addLine(std::string_view line) {
    m_blocks->append(line);
    m_blocks->append('\n');
}

void TargetFileWriter::addBytes(std::string_view bytes) { m_blocks->append(bytes); }

void TargetFileWriter::finish() { m_blocks->finish(); }

ScriptWorkFiles scriptWorkFiles(const std::string& workFolder, ScriptMode mode) {
    return {workFolder + "L.$",    workFolder + "TA.txt", workFolder + "TZ.txt",
            workFolder + "T.$",    workFolder + "TT.txt", workFolder + std::string(modeInfo(mode).workScript)};
}

void writeTargetFiles(const ScriptWorkFiles& files, const DocumentLines& lines, int first, int last) {
    if (first == 0) {
        ::unlink(files.before.c_str());
    } else {
        writeLines(files.before, lines, 0, first - 1);
    }
    writeLines(files.target, lines, first, last);
    writeLines(files.after, lines, last + 1, lines.count - 1);
}

void removeTargetFiles(const ScriptWorkFiles& files) {
    for (const std::string* path : {&files.target, &files.before, &files.after}) ::unlink(path->c_str());
}

void assembleResult(const ScriptWorkFiles& files, std::string_view lineBreak) {
    ::unlink(files.result.c_str());
    BlockWriter out(files.result);
    for (const std::string* part : {&files.before, &files.output, &files.after}) {
        const MappedFile in(*part, part != &files.output);
        appendWithLineBreaks(in.bytes(), out, lineBreak);
    }
    out.finish();
}

std::uint64_t fileSize(const std::string& path) {
    struct stat info{};
    if (::stat(path.c_str(), &info) != 0) return 0;
    return static_cast<std::uint64_t>(info.st_size);
}

}  // namespace tabulo::script
