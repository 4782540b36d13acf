// TTxtFile reads a text file for the grep engine in blocks and presents it
// as normalised lines: a line feed stands in front of the first line, CR LF
// and a lone CR each read as one line feed, a zero byte reads as a space,
// and the last line always ends with a line feed. The buffer keeps the text
// from the start of the current line on (the carry), so that lines and
// matches that cross a block boundary are seen whole.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "regex/sjis.h"
#include "regex/text_source.h"

namespace tabulo::regex {

class EEndOfFile : public std::runtime_error {
public:
    EEndOfFile() : std::runtime_error("End Of File") {}
};

// Carries the operating system's message for the failed open.
class EFileNotFound : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class EGrepCancel : public std::runtime_error {
public:
    EGrepCancel() : std::runtime_error("CancelRequest") {}
};

// Lets the owner of a search run its events now and then, and stops the
// search with EGrepCancel once the owner's Cancel flag is set.
class TEventPacer {
public:
    TEventPacer(const bool& cancel, std::function<void()> pumpEvents)
        : m_cancel(cancel), m_pumpEvents(std::move(pumpEvents)) {}

    void letEventsRun();
    // The same when kEventInterval has passed since events last ran.
    void letEventsRunIfDue();
    static constexpr std::chrono::milliseconds kEventInterval{20};

private:
    const bool& m_cancel;
    std::function<void()> m_pumpEvents;
    std::chrono::steady_clock::time_point m_eventsRan = std::chrono::steady_clock::now();
};

// A matching line: its text without the line break and its 1-based number.
struct RE_LineInfo_t {
    std::string Line;
    std::size_t LineNo = 0;
};

class TTxtFile {
public:
    static constexpr std::size_t kBlockSize = 102400;

    // Reads from source into buffer; both must outlive the reader. A buffer
    // kept from one file to the next saves allocating and clearing it for
    // every file. With keepCrLf the carriage return of a CR LF pair stays in
    // the buffer in front of its line feed (saving a copy of every block); it
    // is never part of a fetched line, and callers that use this mode must
    // treat it as a character no match can contain.
    TTxtFile(TTextSource& source, std::vector<char>& buffer, const bool& cancel, std::function<void()> pumpEvents,
             std::size_t blockSize = kBlockSize, bool keepCrLf = false);
    TTxtFile(const TTxtFile&) = delete;
    TTxtFile& operator=(const TTxtFile&) = delete;

    // Appends the next block, normalised; false when the file has nothing
    // more. Raises EGrepCancel when the owner's Cancel flag is set after the
    // read.
    bool readBlock();
    // Reads blocks until index i holds data; false at the end of the file.
    bool ensure(std::size_t i);

    // The buffer: index 0 is always the line feed in front of the first line
    // still held.
    const char* data() const { return m_buf.data(); }
    std::size_t size() const { return m_size; }
    // One past the last line feed held.
    std::size_t completeEnd() const;
    std::size_t blockSize() const { return m_blockSize; }

    // Drops the text before the line feed at lfIndex, which becomes index 0.
    void discardBefore(std::size_t lfIndex);

    // Number of the line holding index pos; a line feed belongs to the line
    // it ends.
    std::size_t lineNoAt(std::size_t pos);

    // Lets the owner's events run and raises EGrepCancel when Cancel is set.
    void letEventsRun() { m_pacer.letEventsRun(); }
    // The same when TEventPacer::kEventInterval has passed since events last
    // ran: called by scanners every few kilobytes of work on text already
    // read, so the window answers while one block takes long to search.
    void letEventsRunIfDue() { m_pacer.letEventsRunIfDue(); }

    // Lets events run, raises EGrepCancel when Cancel is set, and returns the
    // line holding pos; lineEnd receives the index of its line feed.
    RE_LineInfo_t fetchLine(std::size_t pos, std::size_t& lineEnd);

private:
    void reserve(std::size_t capacity);
    std::size_t readRaw(char* dst, std::size_t count);
    std::size_t normalise(std::size_t from, std::size_t count, bool lastChunk);
    void fixInPlace(std::size_t from, std::size_t count, bool lastChunk);
    bool appendBlockKeepingCrLf();

    TTextSource& m_source;
    std::vector<char>& m_buf;
    std::size_t m_size = 0;
    std::size_t m_blockSize;
    bool m_keepCrLf;
    bool m_eof = false;
    bool m_pendingCR = false;
    std::size_t m_firstLineNo = 1;   // number of the line after index 0
    std::size_t m_countPos = 1;      // line feeds in [1, m_countPos) are counted
    std::size_t m_countLines = 0;
    TEventPacer m_pacer;
};

}  // namespace tabulo::regex
