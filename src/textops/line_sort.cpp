// The sort orders 16-byte keys (eight bytes of the line packed big-endian plus
// where the line is) instead of the lines themselves. Large inputs are first
// moved into buckets by their first two bytes; each bucket is then sorted on
// its own, and keys that tie on their eight bytes are sorted again on the
// next eight. Almost every comparison is one integer compare on keys that sit
// together in memory, so lines with long common beginnings (dates, paths,
// indentation) stay fast too.
#include "textops/line_sort.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <utility>

#include "textops/document_text.h"

namespace tabulo::textops {

namespace {

using detail::SortKey;

constexpr std::uint32_t kMaxWhere = std::numeric_limits<std::uint32_t>::max();

// Bytes [depth, depth + 8) of a line packed big-endian, zero-padded past its end.
std::uint64_t prefixAt(std::string_view line, std::size_t depth) {
    unsigned char bytes[8] = {};
    if (depth < line.size()) std::memcpy(bytes, line.data() + depth, std::min<std::size_t>(line.size() - depth, 8));
    std::uint64_t prefix = 0;
    for (unsigned char byte : bytes) prefix = (prefix << 8) | byte;
    return prefix;
}

SortKey makeKey(std::string_view line, std::size_t where) {
    const std::size_t length = std::min<std::size_t>(line.size(), kMaxWhere);
    return {prefixAt(line, 0), static_cast<std::uint32_t>(where), static_cast<std::uint32_t>(length)};
}

// Runs this short, and keys deeper than this, are sorted by comparing the rest
// of their lines directly. The depth limit bounds the recursion for lines that
// agree over a long stretch.
constexpr std::size_t kShortRun = 16;
constexpr std::size_t kDeepest = 64;

template <class Less>
void sortRange(SortKey* begin, SortKey* end, SortOrder order, Less less) {
    if (order == SortOrder::Ascending) {
        std::sort(begin, end, less);
    } else {
        std::sort(begin, end, [&less](const SortKey& a, const SortKey& b) { return less(b, a); });
    }
}

// Sorts keys whose lines agree in their first depth bytes; the keys' prefixes
// hold bytes [depth, depth + 8). Keys with equal prefixes where one line ends
// inside those eight bytes are ordered by length (the shorter is a prefix of
// the longer); keys with equal prefixes whose lines both go on form a run
// that is sorted again eight bytes deeper. lineOf(key) gives the whole line.
template <class LineOf>
void sortFromDepth(SortKey* begin, SortKey* end, std::size_t depth, SortOrder order, const LineOf& lineOf) {
    if (end - begin < 2) return;
    if (static_cast<std::size_t>(end - begin) <= kShortRun || depth >= kDeepest) {
        sortRange(begin, end, order, [&lineOf, depth](const SortKey& a, const SortKey& b) {
            return lineOf(a).substr(depth) < lineOf(b).substr(depth);
        });
        return;
    }
    const auto cut = [depth](const SortKey& key) { return std::min<std::size_t>(key.length, depth + 8); };
    sortRange(begin, end, order, [&cut](const SortKey& a, const SortKey& b) {
        return a.prefix != b.prefix ? a.prefix < b.prefix : cut(a) < cut(b);
    });
    for (SortKey* run = begin; run != end;) {
        SortKey* runEnd = run + 1;
        while (runEnd != end && runEnd->prefix == run->prefix && cut(*runEnd) == cut(*run)) ++runEnd;
        if (runEnd - run > 1 && cut(*run) == depth + 8) {
            for (SortKey* key = run; key != runEnd; ++key) key->prefix = prefixAt(lineOf(*key), depth + 8);
            sortFromDepth(run, runEnd, depth + 8, order, lineOf);
        }
        run = runEnd;
    }
}

// Sorts keys: a counting pass over the first two bytes finds where each
// bucket goes (in the order's direction), the keys are swapped into their
// buckets in place, then the buckets are sorted one by one.
template <class LineOf>
void sortKeys(std::vector<SortKey>& keys, SortOrder order, const LineOf& lineOf) {
    // Below this many keys the bucket tables cost more than they save.
    constexpr std::size_t kBucketedFrom = 1 << 16;
    if (keys.size() < kBucketedFrom) {
        sortFromDepth(keys.data(), keys.data() + keys.size(), 0, order, lineOf);
        return;
    }
    constexpr std::size_t kBuckets = 1 << 16;
    const auto slotOf = [order](const SortKey& key) {
        const auto bucket = static_cast<std::size_t>(key.prefix >> 48);
        return order == SortOrder::Ascending ? bucket : kBuckets - 1 - bucket;
    };
    std::vector<std::size_t> start(kBuckets + 1, 0);
    for (const SortKey& key : keys) ++start[slotOf(key) + 1];
    for (std::size_t s = 1; s <= kBuckets; ++s) start[s] += start[s - 1];
    std::vector<std::size_t> next(start.begin(), start.end() - 1);
    for (std::size_t s = 0; s < kBuckets; ++s) {
        while (next[s] < start[s + 1]) {
            SortKey key = keys[next[s]];
            std::size_t slot = slotOf(key);
            while (slot != s) {
                std::swap(key, keys[next[slot]++]);
                slot = slotOf(key);
            }
            keys[next[s]++] = key;
        }
    }
    for (std::size_t s = 0; s < kBuckets; ++s) {
        sortFromDepth(keys.data() + start[s], keys.data() + start[s + 1], 0, order, lineOf);
    }
}

}  // namespace

int compareLines(std::string_view a, std::string_view b) {
    // char_traits<char>::compare compares as unsigned char, which is the order wanted.
    return a.compare(b);
}

SortedText::SortedText(std::string_view text, SortOrder order, EofByte eofByte) : m_text(text) {
    if (text.size() > kMaxWhere) throw std::length_error("text too large to sort (4 GiB or more)");
    std::size_t count = 0;
    detail::forEachLine(text, [&count](std::size_t, std::size_t) { ++count; }, eofByte);
    m_keys.reserve(count);
    m_finalBreak = detail::forEachLine(
        text, [&](std::size_t offset, std::size_t length) { m_keys.push_back(makeKey(text.substr(offset, length), offset)); },
        eofByte);
    sortKeys(m_keys, order, [text](const SortKey& key) { return text.substr(key.where, key.length); });
}

LineResult sortLines(std::vector<std::string>& lines, LineRange range, SortOrder order, const ProgressFn& progress) {
    detail::checkRange(lines.size(), range);
    const std::size_t count = range.last - range.first + 1;
    if (count > kMaxWhere) throw std::length_error("too many lines to sort");
    std::string* const base = lines.data() + range.first;
    std::vector<SortKey> keys;
    keys.reserve(count);
    for (std::size_t i = 0; i < count; ++i) keys.push_back(makeKey(base[i], i));
    sortKeys(keys, order, [base](const SortKey& key) { return std::string_view(base[key.where]); });

    // Moving a std::string moves its buffer, so the rebuild never copies line
    // bytes, and a stop can move the same buffers back.
    std::vector<std::string> sorted;
    sorted.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        sorted.push_back(std::move(base[keys[i].where]));
        if (progress && !progress({range.first + i, i + 1})) {
            for (std::size_t j = 0; j < sorted.size(); ++j) base[keys[j].where] = std::move(sorted[j]);
            return {0, true};
        }
    }
    std::move(sorted.begin(), sorted.end(), base);
    return {count, false};
}

}  // namespace tabulo::textops
