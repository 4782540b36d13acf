// Vectorised byte scans of the grep engine: finding a literal through a
// two-byte filter, finding the next byte of a small set of byte ranges, and
// the test whether a byte starts a Shift-JIS character.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tabulo::regex::detail {

// True when index p starts a character in a buffer whose index 0 is a line
// feed: a line break always does, otherwise the run of lead-range bytes in
// front of p must hold whole pairs (a lead byte before a line break stands
// alone, and line breaks are not lead bytes, so the run starts a character).
bool isCharStart(const unsigned char* buf, std::size_t p);
// The same where index from (at most p) is known to start a character: the
// run is looked at back to from only, so a scan that moves from on keeps
// the look-backs linear in the text however long its runs of lead bytes.
bool isCharStart(const unsigned char* buf, std::size_t from, std::size_t p);

// Index of the first line feed or carriage return in [p, p + n), or n.
std::size_t findLineBreak(const unsigned char* p, std::size_t n);

// Line breaks in [p, p + n) as the reader counts them: line feeds, and
// carriage returns not followed by one (one at p + n - 1 counts).
std::size_t countLineBreaks(const unsigned char* p, std::size_t n);

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
    std::size_t size() const { return m_needle.size(); }

private:
    std::string m_needle;
    std::size_t m_first;   // offsets of the two filter bytes in the needle
    std::size_t m_second;
};

// Finds the next occurrence of any of a few codes, one-byte codes as the
// byte and double-byte ones as their two bytes (codes not empty).
class CodeSetFinder {
public:
    static constexpr std::size_t kMaxCodes = 4;
    explicit CodeSetFinder(const std::vector<std::uint16_t>& codes);
    const unsigned char* find(const unsigned char* p, const unsigned char* end) const;
    // The longest code's byte count.
    std::size_t size() const { return m_size; }

private:
    bool at(const unsigned char* p, const unsigned char* end) const;
    std::vector<std::uint16_t> m_codes;
    std::size_t m_size = 1;
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
