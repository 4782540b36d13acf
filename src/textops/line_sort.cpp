// The sort orders 16-byte keys (the line's first eight bytes packed big-endian
// plus where the line is) instead of the lines themselves. The keys are first
// moved into buckets by their first two bytes, then each bucket is sorted on
// its own; almost every comparison is one integer compare on keys that sit
// together in memory, and only keys with equal prefixes look at the line bytes.
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

SortKey makeKey(std::string_view line, std::size_t where) {
    unsigned char bytes[8] = {};
    std::memcpy(bytes, line.data(), std::min<std::size_t>(line.size(), 8));
    std::uint64_t prefix = 0;
    for (unsigned char byte : bytes) prefix = (prefix << 8) | byte;
    const std::size_t length = std::min<std::size_t>(line.size(), kMaxWhere);
    return {prefix, static_cast<std::uint32_t>(where), static_cast<std::uint32_t>(length)};
}

// Keys with equal prefixes: when either line is shorter than 8 bytes it is a
// prefix of the other (its zero padding matched real bytes), so the length
// decides; otherwise the bytes after the prefix do. lineOf(key) gives the line.
template <class LineOf>
bool keyLess(const SortKey& a, const SortKey& b, const LineOf& lineOf) {
    if (a.prefix != b.prefix) return a.prefix < b.prefix;
    if (a.length < 8 || b.length < 8) return a.length < b.length;
    return lineOf(a).substr(8) < lineOf(b).substr(8);
}

template <class LineOf>
void sortBucket(SortKey* begin, SortKey* end, SortOrder order, const LineOf& lineOf) {
    if (end - begin < 2) return;
    if (order == SortOrder::Ascending) {
        std::sort(begin, end, [&](const SortKey& a, const SortKey& b) { return keyLess(a, b, lineOf); });
    } else {
        std::sort(begin, end, [&](const SortKey& a, const SortKey& b) { return keyLess(b, a, lineOf); });
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
        sortBucket(keys.data(), keys.data() + keys.size(), order, lineOf);
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
    for (std::size_t s = 0; s < kBuckets; ++s) sortBucket(keys.data() + start[s], keys.data() + start[s + 1], order, lineOf);
}

}  // namespace

int compareLines(std::string_view a, std::string_view b) {
    // char_traits<char>::compare compares as unsigned char, which is the order wanted.
    return a.compare(b);
}

SortedText::SortedText(std::string_view text, SortOrder order) : m_text(text) {
    if (text.size() > kMaxWhere) throw std::length_error("text too large to sort (4 GiB or more)");
    std::size_t count = 0;
    detail::forEachLine(text, [&count](std::size_t, std::size_t) { ++count; });
    m_keys.reserve(count);
    m_finalBreak = detail::forEachLine(
        text, [&](std::size_t offset, std::size_t length) { m_keys.push_back(makeKey(text.substr(offset, length), offset)); });
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
