#include "script/engine/script_work_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace tabulo::script {
namespace {

// Bytes gathered into large blocks before they go to the file.
class BlockWriter {
public:
    explicit BlockWriter(std::string path) : m_path(std::move(path)) {
        m_fd = ::open(m_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (m_fd < 0) throw ScriptFileError("can't open " + m_path);
        m_buffer.reserve(kBlock);
    }
    BlockWriter(const BlockWriter&) = delete;
    BlockWriter& operator=(const BlockWriter&) = delete;
    ~BlockWriter() {
        if (m_fd >= 0) ::close(m_fd);
    }
    void append(std::string_view bytes) {
        m_buffer.append(bytes);
        if (m_buffer.size() >= kBlock) flush();
    }
    void finish() {
        flush();
        const int fd = m_fd;
        m_fd = -1;
        if (::close(fd) != 0) throw ScriptFileError("can't write " + m_path);
    }

private:
    static constexpr std::size_t kBlock = 1 << 16;
    void flush() {
        std::size_t done = 0;
        while (done < m_buffer.size()) {
            const ssize_t put = ::write(m_fd, m_buffer.data() + done, m_buffer.size() - done);
            if (put < 0 && errno == EINTR) continue;
            if (put <= 0) throw ScriptFileError("can't write " + m_path);
            done += static_cast<std::size_t>(put);
        }
        m_buffer.clear();
    }
    std::string m_path;
    int m_fd = -1;
    std::string m_buffer;
};

void writeLines(const std::string& path, const DocumentLines& lines, int from, int to) {
    TargetFileWriter out(path);
    for (int i = from; i <= to; ++i) out.addLine(lines.lineAt(i));
    out.finish();
}

bool exists(const std::string& path) {
    struct stat info{};
    return ::stat(path.c_str(), &info) == 0;
}

// Copies `path` into `out`, every CR LF, LF or lone CR becoming `lineBreak`.
// A CR at the end of one block is held until the next shows whether an LF
// follows.
void appendWithLineBreaks(const std::string& path, BlockWriter& out, std::string_view lineBreak) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw ScriptFileError("can't open " + path);
    char block[1 << 16];
    bool pendingCr = false;
    for (;;) {
        const ssize_t got = ::read(fd, block, sizeof block);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            ::close(fd);
            throw ScriptFileError("can't read " + path);
        }
        if (got == 0) break;
        std::size_t start = 0;
        std::size_t i = 0;
        if (pendingCr) {
            out.append(lineBreak);
            pendingCr = false;
            if (block[0] == '\n') start = i = 1;
        }
        const auto size = static_cast<std::size_t>(got);
        for (; i < size; ++i) {
            const char c = block[i];
            if (c != '\n' && c != '\r') continue;
            out.append(std::string_view(block + start, i - start));
            if (c == '\r') {
                if (i + 1 == size) {
                    pendingCr = true;
                    start = size;
                    break;
                }
                if (block[i + 1] == '\n') ++i;
            }
            out.append(lineBreak);
            start = i + 1;
        }
        if (start < size) out.append(std::string_view(block + start, size - start));
    }
    ::close(fd);
    if (pendingCr) out.append(lineBreak);
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
    m_blocks->append("\n");
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
    if (exists(files.before)) appendWithLineBreaks(files.before, out, lineBreak);
    appendWithLineBreaks(files.output, out, lineBreak);
    if (exists(files.after)) appendWithLineBreaks(files.after, out, lineBreak);
    out.finish();
}

std::uint64_t fileSize(const std::string& path) {
    struct stat info{};
    if (::stat(path.c_str(), &info) != 0) return 0;
    return static_cast<std::uint64_t>(info.st_size);
}

}  // namespace tabulo::script
