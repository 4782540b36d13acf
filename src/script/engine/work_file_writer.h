// A work file written in large blocks. The blocks go to the file from a
// writer thread while the next block is gathered, so the copy into the page
// cache and the gathering of lines overlap. A file of an earlier run is
// written over in place and cut to the new length at the end: its pages in
// the page cache are reused, which costs a fraction of freeing them and
// filling fresh ones, and no byte of the earlier content survives.
#pragma once

#include <sys/types.h>

#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "script/engine/script_work_files.h"

namespace tabulo::script {

class WorkFileWriter {
public:
    // A link under the name is not followed. Throws ScriptFileError.
    explicit WorkFileWriter(std::string path);
    WorkFileWriter(const WorkFileWriter&) = delete;
    WorkFileWriter& operator=(const WorkFileWriter&) = delete;
    ~WorkFileWriter();

    void append(std::string_view bytes);
    void append(char c) {
        if (m_used == kWorkFileBlock) handOver();
        m_filling[m_used++] = c;
    }
    // Writes what is left, cuts the file to what was written and closes it.
    // A file not finished (an error, an abandoned run) is removed, so no mix
    // of old and new bytes stays behind. Throws ScriptFileError.
    void finish();

private:
    void handOver();
    void waitUntilWritten();
    void writeAll(const char* data, std::size_t size);
    void writeBlocks();

    std::string m_path;
    int m_fd = -1;
    off_t m_earlierSize = 0;
    off_t m_written = 0;
    std::unique_ptr<char[]> m_filling;
    std::size_t m_used = 0;
    // The block the writer thread is writing, and its state.
    std::unique_ptr<char[]> m_writing;
    std::size_t m_writingSize = 0;
    bool m_blockReady = false;
    bool m_closing = false;
    bool m_failed = false;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::thread m_writer;
};

}  // namespace tabulo::script
