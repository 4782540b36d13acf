// The whole of a regular file in memory at once, for the grep engine's scan
// over the file's own bytes: no copy into blocks, no carry, no per-block
// normalising. A small file is read with one call into a buffer kept from
// file to file; a large one is mapped when the owner allows it (a mapped
// file cut short by another program while it is searched stops the process,
// which a command-line run may risk and a window may not) and read as a
// stream otherwise.
#pragma once

#include <cstddef>
#include <vector>

namespace tabulo::regex {

class TWholeText {
public:
    // Files read into the buffer rather than mapped.
    static constexpr std::size_t kReadBytes = std::size_t{1} << 20;
    // The largest read request, and the alignment of the text in the
    // buffer: Linux copies from the page cache several times slower into a
    // destination off a cache line's start, and slower for requests of
    // 128 KiB and more.
    static constexpr std::size_t kReadChunk = std::size_t{124} << 10;
    static constexpr std::size_t kAlignment = 64;

    TWholeText() = default;
    ~TWholeText();
    TWholeText(const TWholeText&) = delete;
    TWholeText& operator=(const TWholeText&) = delete;

    // Takes the text of the file fd, just opened, as large as fstat says it
    // is (a file that says it is empty is read to its end). False, having
    // read nothing, when fd is not a regular file or is too large to take:
    // it is then read as a stream. Raises
    // std::system_error when reading fails.
    bool load(int fd, std::vector<char>& buffer, bool mayMap);

    const unsigned char* data() const { return m_data; }
    std::size_t size() const { return m_size; }

private:
    const unsigned char* m_data = nullptr;
    std::size_t m_size = 0;
    void* m_map = nullptr;
};

}  // namespace tabulo::regex
