// Shift-JIS to UTF-8 and back over a text that arrives in blocks, in memory
// bounded by the block: a character cut by a block edge waits for the next
// block. They give the bytes of sjis2utf8 and utf82sjis (which run them over
// one block) whatever the cutting. Runs of ASCII go eight bytes at a time;
// every other character is one table read.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "kanji/block_seam.h"

namespace tabulo::kanji {

// What a conversion could not carry over so far: how many characters had no
// form in the target code, where the first began in the input, and how many
// output bytes came before its substitute.
struct Utf8Losses {
    std::size_t count = 0;
    std::size_t firstInput = 0;
    std::size_t firstOutput = 0;
};

class Sjis2Utf8Stream {
public:
    // Appends the conversion of the next block to out; last says that no
    // bytes follow it. A byte or pair that is no Shift-JIS character becomes
    // U+FFFD and is counted.
    void convert(std::string_view block, bool last, std::string& out);
    // The same into out, which has room for maxOutput(block.size()) bytes;
    // returns the end of what was written. For a caller that reuses one
    // buffer of fixed size.
    char* convert(std::string_view block, bool last, char* out);
    // Every input byte (a carried one too) gives at most three output bytes;
    // slack for the word stores.
    static constexpr std::size_t maxOutput(std::size_t blockSize) { return 3 * (blockSize + detail::kMaxStep) + 8; }
    const Utf8Losses& losses() const { return m_losses; }

private:
    detail::BlockSeam m_seam;
    Utf8Losses m_losses;
    std::size_t m_written = 0;
};

class Utf82SjisStream {
public:
    // As Sjis2Utf8Stream::convert. A character with no Shift-JIS form (and
    // each malformed byte) becomes the geta mark 〓 and is counted.
    void convert(std::string_view block, bool last, std::string& out);
    char* convert(std::string_view block, bool last, char* out);
    // A malformed byte gives the two bytes of 〓, every other character at
    // most as many bytes as it had; slack for the word stores.
    static constexpr std::size_t maxOutput(std::size_t blockSize) { return 2 * (blockSize + detail::kMaxStep) + 8; }
    const Utf8Losses& losses() const { return m_losses; }

private:
    detail::BlockSeam m_seam;
    Utf8Losses m_losses;
    std::size_t m_written = 0;
};

}  // namespace tabulo::kanji
