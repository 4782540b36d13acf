#include "script/engine/result_assembly.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "script/engine/work_file_writer.h"

namespace tabulo::script {
namespace {

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

// Copies bytes to a writer with every CR LF, LF or lone CR written as the
// line break. The bytes may come in pieces: a CR that ends a piece waits for
// the next one, which may begin with the LF of the same break. Runs whose
// breaks already are the line break go out unsplit, so a file in the
// document's convention is written as it is.
class LineBreakConverter {
public:
    explicit LineBreakConverter(std::string_view lineBreak) : m_lineBreak(lineBreak) {}

    void convert(std::string_view bytes, WorkFileWriter& out) {
        if (bytes.empty()) return;
        if (m_heldCr) {
            m_heldCr = false;
            out.append(m_lineBreak);
            if (bytes.front() == '\n') bytes.remove_prefix(1);
        }
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
            if (*at == '\r' && at + 1 == end) {
                out.append(std::string_view(start, static_cast<std::size_t>(at - start)));
                m_heldCr = true;
                return;
            }
            const std::size_t length = *at == '\r' && at[1] == '\n' ? 2 : 1;
            if (std::string_view(at, length) != m_lineBreak) {
                out.append(std::string_view(start, static_cast<std::size_t>(at - start)));
                out.append(m_lineBreak);
                start = at + length;
            }
            p = at + length;
        }
        out.append(std::string_view(start, static_cast<std::size_t>(end - start)));
    }

    // The bytes have ended: a held CR was a break of its own.
    void end(WorkFileWriter& out) {
        if (m_heldCr) out.append(m_lineBreak);
        m_heldCr = false;
    }

private:
    std::string_view m_lineBreak;
    bool m_heldCr = false;
};

void appendConverted(const std::string& path, bool optional, WorkFileWriter& out, std::string_view lineBreak) {
    const MappedFile in(path, optional);
    LineBreakConverter converter(lineBreak);
    converter.convert(in.bytes(), out);
    converter.end(out);
}

}  // namespace

void assembleResult(const ScriptWorkFiles& files, std::string_view lineBreak) {
    WorkFileWriter out(files.result);
    appendConverted(files.before, true, out, lineBreak);
    appendConverted(files.output, false, out, lineBreak);
    appendConverted(files.after, true, out, lineBreak);
    out.finish();
}

// What the follower reads and writes; touched by the follower thread only
// until it has been joined.
class FollowingAssembly::Output {
public:
    Output(std::string outputPath, const std::string& resultPath, std::string_view lineBreak)
        : path(std::move(outputPath)), writer(resultPath), converter(lineBreak) {
        // The interpreter's output file is created when it starts: a file
        // made beforehand would be truncated by that start, which makes the
        // file system flush it when the interpreter closes it.
        ::unlink(path.c_str());
        block = std::make_unique<char[]>(kWorkFileBlock);
    }
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;
    ~Output() {
        if (fd >= 0) ::close(fd);
    }

    // Converts a block of what the interpreter has written since the last
    // call, or with `rest` whatever there is; false when nothing was read.
    // Reading in whole blocks keeps the follower's wake-ups, and with them
    // its share of the interpreter's time, few. A shrinking file can't be
    // followed; after the run, followedWhole() sees it by the size.
    bool readMore(bool rest) {
        if (fd < 0 && !openOutput()) return false;
        if (!rest) {
            struct stat info{};
            if (::fstat(fd, &info) != 0) return false;
            const auto size = static_cast<std::uint64_t>(info.st_size);
            if (size < consumed) cutShort = true;
            if (size < consumed + kWorkFileBlock) return false;
        }
        for (;;) {
            const ssize_t got = ::read(fd, block.get(), kWorkFileBlock);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) throw ScriptFileError("can't read " + path);
            if (got == 0) return false;
            converter.convert(std::string_view(block.get(), static_cast<std::size_t>(got)), writer);
            consumed += static_cast<std::uint64_t>(got);
            return true;
        }
    }

    // Whether the file under the output's name is the one followed, with
    // every byte of it read and nothing cut from what was read.
    bool followedWhole() const {
        struct stat info{};
        return fd >= 0 && !cutShort && ::stat(path.c_str(), &info) == 0 && info.st_dev == device &&
               info.st_ino == inode && static_cast<std::uint64_t>(info.st_size) == consumed;
    }

    const std::string path;
    WorkFileWriter writer;
    LineBreakConverter converter;
    bool cutShort = false;
    std::string failure;  // the message of an error on the follower's thread

private:
    bool openOutput() {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        struct stat info{};
        if (fd >= 0 && ::fstat(fd, &info) != 0) {
            ::close(fd);
            fd = -1;
        }
        if (fd < 0) return false;
        device = info.st_dev;
        inode = info.st_ino;
        return true;
    }

    int fd = -1;
    dev_t device{};
    ino_t inode{};
    std::unique_ptr<char[]> block;
    std::uint64_t consumed = 0;
};

FollowingAssembly::FollowingAssembly(ScriptWorkFiles files, std::string lineBreak)
    : m_files(std::move(files)), m_lineBreak(std::move(lineBreak)) {
    m_output = std::make_unique<Output>(m_files.output, m_files.result, m_lineBreak);
    m_follower = std::thread([this] { follow(); });
}

FollowingAssembly::~FollowingAssembly() {
    stopFollowing();
    if (m_finished) return;
    m_output.reset();
    ::unlink(m_files.result.c_str());
}

void FollowingAssembly::follow() {
    using namespace std::chrono_literals;
    Output& output = *m_output;
    try {
        appendConverted(m_files.before, true, output.writer, m_lineBreak);
        // A run that writes nothing for a while is looked at less often.
        auto pause = 2ms;
        for (;;) {
            bool ended = false;
            {
                const std::lock_guard lock(m_mutex);
                ended = m_runEnded;
            }
            if (output.readMore(ended)) {
                pause = 2ms;
                continue;
            }
            if (ended || output.cutShort) return;
            std::unique_lock lock(m_mutex);
            m_ended.wait_for(lock, pause, [this] { return m_runEnded; });
            pause = std::min(pause * 2, std::chrono::milliseconds(32));
        }
    } catch (const std::exception& error) {
        output.failure = error.what();
    }
}

void FollowingAssembly::stopFollowing() {
    {
        const std::lock_guard lock(m_mutex);
        m_runEnded = true;
    }
    m_ended.notify_all();
    if (m_follower.joinable()) m_follower.join();
}

void FollowingAssembly::finish() {
    stopFollowing();
    Output& output = *m_output;
    if (!output.failure.empty()) throw ScriptFileError(output.failure);
    if (output.followedWhole()) {
        output.converter.end(output.writer);
        appendConverted(m_files.after, true, output.writer, m_lineBreak);
        output.writer.finish();
    } else {
        m_output.reset();
        assembleResult(m_files, m_lineBreak);
    }
    m_finished = true;
}

}  // namespace tabulo::script
