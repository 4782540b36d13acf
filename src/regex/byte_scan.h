// Vectorised byte scans of the grep engine: finding a literal through a
// two-byte filter, finding the next byte of a small set of byte ranges, and
// the test whether a byte starts a Shift-JIS character.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tabulo::regex::detail {

// True when index p starts a character in a buffer whose index 0 is a line
// feed: a line break always does, otherwise the run of lead-range bytes in
// front of p must hold whole pairs (a lead byte before a line break stands
// alone, and line breaks are not lead bytes, so the run starts a character).
bool isCharStart(const unsigned char* buf, std::size_t p);

// Index of the first zero byte or carriage return not followed by a line
// feed in [p, p + n) (a carriage return at p + n - 1 counts), or n.
std::size_t findLoneCrOrZero(const unsigned char* p, std::size_t n);

// Number of line feeds in [p, p + n).
std::size_t countLineFeeds(const unsigned char* p, std::size_t n);

// Finds needle in [p, end) (needle not empty), or returns end.
class LiteralFinder {
public:
    explicit LiteralFinder(std::string needle);
    const unsigned char* find(const unsigned char* p, const unsigned char* end) const;

private:
    std::string m_needle;
    std::size_t m_first;   // offsets of the two filter bytes in the needle
    std::size_t m_second;
};

// Finds the next byte that lies in one of up to kMaxRanges byte ranges.
class ByteRangeFinder {
public:
    static constexpr std::size_t kMaxRanges = 3;
    struct Range {
        unsigned char lo;
        unsigned char hi;
    };
    explicit ByteRangeFinder(std::vector<Range> ranges) : m_ranges(std::move(ranges)) {}
    const unsigned char* find(const unsigned char* p, const unsigned char* end) const;

private:
    bool contains(unsigned char b) const;
    std::vector<Range> m_ranges;
};

}  // namespace tabulo::regex::detail
