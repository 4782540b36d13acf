// Feeds a text to a streaming converter in blocks: the first block of
// `shift` bytes, then blocks of `blockSize`, so that the tests can put every
// byte of a fixture at a block edge. With emptyLast the end comes as an empty
// block, as a reader reports it, else with the last block.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

namespace tabulo::kanji::testing {

template <class Stream>
std::string fedInBlocks(Stream& stream, std::string_view input, std::size_t shift, std::size_t blockSize,
                        bool emptyLast) {
    std::string out;
    std::size_t pos = 0;
    std::size_t size = shift;
    while (pos < input.size()) {
        const std::size_t n = std::min(size, input.size() - pos);
        stream.convert(input.substr(pos, n), !emptyLast && pos + n == input.size(), out);
        pos += n;
        size = blockSize;
    }
    if (emptyLast || input.empty()) stream.convert({}, true, out);
    return out;
}

// The block sizes and first-block shifts that together cut a text at every
// byte and put every character of up to four bytes across an edge.
inline constexpr std::size_t kBlockSizes[] = {1, 2, 3, 4096};
inline constexpr std::size_t kMaxShift = 3;

}  // namespace tabulo::kanji::testing
