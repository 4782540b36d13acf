// The engine of the line sort: lines are represented by 16-byte keys (eight
// bytes of the line packed big-endian plus where the line is), and the keys
// are put in order by a most-significant-byte radix sort. Each pass moves the
// keys into 256 buckets by one byte of the packed eight; a bucket whose keys
// agree on all eight is split by where its lines end, and the lines that go
// on are packed again eight bytes deeper. Small buckets, and keys past a
// depth where lines agree over a long stretch, are sorted by comparing the
// rest of their lines. Almost all the work is sequential passes over keys
// that sit together in memory, so the sort runs at the pace of memory and
// lines with long common beginnings (dates, paths, indentation) stay fast.
// The first partitions of a large sort are shared out between two threads.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

namespace tabulo::textops::detail {

// A line to sort: bytes [depth, depth + 8) of it packed big-endian
// (zero-padded past its end), and where to find it: offset and length in a
// text, or index and length in a list.
struct SortKey {
    std::uint64_t prefix;
    std::uint32_t where;
    std::uint32_t length;  // saturated at 2^32-1; only compared while below the depth + 8
};

// Eight bytes from `bytes` as a big-endian number.
inline std::uint64_t loadBigEndian(const char* bytes) {
    std::uint64_t value;
    std::memcpy(&value, bytes, 8);
    if constexpr (std::endian::native == std::endian::little) value = __builtin_bswap64(value);
    return value;
}

// Bytes [depth, depth + 8) of line, zero-padded past its end.
inline std::uint64_t prefixAt(std::string_view line, std::size_t depth) {
    if (depth >= line.size()) return 0;
    const std::size_t left = line.size() - depth;
    if (left >= 8) return loadBigEndian(line.data() + depth);
    char bytes[8] = {};
    std::memcpy(bytes, line.data() + depth, left);
    return loadBigEndian(bytes);
}

// The first eight bytes of the line at `offset` in `text`, read in one load
// when eight bytes of the text are there to read.
inline std::uint64_t prefixInText(std::string_view text, std::size_t offset, std::size_t length) {
    if (length >= 8) return loadBigEndian(text.data() + offset);
    if (length == 0) return 0;
    if (text.size() - offset < 8) return prefixAt(text.substr(offset, length), 0);
    return loadBigEndian(text.data() + offset) & ~(~std::uint64_t{0} >> (8 * length));
}

// Runs first on a thread of its own and second on this one; both on this
// thread when no thread can be started.
template <class First, class Second>
void alongside(const First& first, const Second& second) {
    std::thread other;
    try {
        other = std::thread(first);
    } catch (const std::system_error&) {
        first();
    }
    second();
    if (other.joinable()) other.join();
}

// Sorts keys ascending; lineOf(key) gives the whole line of a key.
template <class LineOf>
class KeySorter {
public:
    explicit KeySorter(const LineOf& lineOf) : m_lineOf(lineOf) {}

    void sort(SortKey* begin, SortKey* end) {
        const std::size_t count = static_cast<std::size_t>(end - begin);
        if (count < kParallelFrom || std::thread::hardware_concurrency() < 2) {
            sortPart({begin, end, 0, 0});
            return;
        }
        sortOnTwoThreads({begin, end, 0, 0}, count);
    }

private:
    // Keys in [begin, end) agree on their first depth + byte bytes; their
    // prefixes hold bytes [depth, depth + 8).
    struct Part {
        SortKey* begin;
        SortKey* end;
        std::size_t depth;
        unsigned byte;

        std::size_t size() const { return static_cast<std::size_t>(end - begin); }
    };

    // Below this many keys one pass costs more than sorting by comparisons.
    static constexpr std::size_t kShortRun = 32;
    // Past this depth the rest of the lines are compared directly, which
    // bounds the recursion for lines that agree over a long stretch.
    static constexpr std::size_t kDeepest = 64;
    // Below this many keys a second thread costs more than it saves.
    static constexpr std::size_t kParallelFrom = 1 << 16;

    void sortPart(const Part& part) {
        split(part, [this](const Part& child) { sortPart(child); });
    }

    // Splits the part by one byte and hands every bucket that still needs
    // sorting to sortChild; a part that needs no more splitting is sorted
    // here and hands nothing on.
    template <class SortChild>
    void split(Part part, const SortChild& sortChild) {
        if (part.size() < 2) return;
        if (part.size() <= kShortRun || part.depth >= kDeepest) {
            sortByComparing(part);
            return;
        }
        if (part.byte == 0) part.byte = commonBytes(part);
        if (part.byte == 8) {
            splitByEnd(part, sortChild);
            return;
        }
        const unsigned shift = 56 - 8 * part.byte;
        std::size_t start[257] = {};
        for (const SortKey* key = part.begin; key != part.end; ++key) ++start[((key->prefix >> shift) & 0xFF) + 1];
        for (std::size_t b = 1; b <= 256; ++b) start[b] += start[b - 1];
        std::size_t next[256];
        std::copy(start, start + 256, next);
        for (std::size_t b = 0; b < 256; ++b) {
            while (next[b] < start[b + 1]) {
                SortKey key = part.begin[next[b]];
                std::size_t slot = (key.prefix >> shift) & 0xFF;
                while (slot != b) {
                    std::swap(key, part.begin[next[slot]++]);
                    slot = (key.prefix >> shift) & 0xFF;
                }
                part.begin[next[b]++] = key;
            }
        }
        for (std::size_t b = 0; b < 256; ++b) {
            if (start[b + 1] - start[b] > 1)
                sortChild({part.begin + start[b], part.begin + start[b + 1], part.depth, part.byte + 1});
        }
    }

    // How many of the prefix bytes from `part.byte` on all keys share.
    static unsigned commonBytes(const Part& part) {
        const std::uint64_t first = part.begin->prefix;
        std::uint64_t differ = 0;
        for (const SortKey* key = part.begin; key != part.end; ++key) differ |= key->prefix ^ first;
        return differ == 0 ? 8u : static_cast<unsigned>(std::countl_zero(differ)) / 8;
    }

    // All keys of the part have the same eight bytes. Lines that end inside
    // them come first, shorter before longer (each is a prefix of the
    // longer ones); lines of one length there are identical. The lines that
    // go on are packed again eight bytes deeper.
    template <class SortChild>
    void splitByEnd(const Part& part, const SortChild& sortChild) {
        const std::size_t full = part.depth + 8;
        SortKey* const goOn =
            std::partition(part.begin, part.end, [full](const SortKey& key) { return key.length < full; });
        std::sort(part.begin, goOn, [](const SortKey& a, const SortKey& b) { return a.length < b.length; });
        if (part.end - goOn < 2) return;
        for (SortKey* key = goOn; key != part.end; ++key) key->prefix = prefixAt(m_lineOf(*key), full);
        sortChild({goOn, part.end, full, 0});
    }

    void sortByComparing(const Part& part) {
        const std::size_t depth = part.depth;
        std::sort(part.begin, part.end, [this, depth](const SortKey& a, const SortKey& b) {
            if (a.prefix != b.prefix) return a.prefix < b.prefix;
            return m_lineOf(a).substr(depth) < m_lineOf(b).substr(depth);
        });
    }

    // Splits the largest parts until none holds more than half the keys,
    // then gives each thread parts of about half the keys.
    void sortOnTwoThreads(const Part& whole, std::size_t count) {
        std::vector<Part> parts{whole};
        for (;;) {
            const auto largest = std::max_element(parts.begin(), parts.end(), [](const Part& a, const Part& b) {
                return a.size() < b.size();
            });
            if (largest->size() <= count / 2) break;
            const Part part = *largest;
            parts.erase(largest);
            std::size_t kept = parts.size();
            split(part, [&parts](const Part& child) { parts.push_back(child); });
            // A part sorted in place by split is finished.
            if (parts.size() == kept) break;
        }
        std::sort(parts.begin(), parts.end(), [](const Part& a, const Part& b) { return a.size() > b.size(); });
        std::vector<Part> mine, theirs;
        std::size_t myKeys = 0, theirKeys = 0;
        for (const Part& part : parts) {
            if (myKeys <= theirKeys) {
                mine.push_back(part);
                myKeys += part.size();
            } else {
                theirs.push_back(part);
                theirKeys += part.size();
            }
        }
        const auto sortAll = [this](const std::vector<Part>& list) {
            for (const Part& part : list) sortPart(part);
        };
        alongside([&] { sortAll(theirs); }, [&] { sortAll(mine); });
    }

    const LineOf& m_lineOf;
};

// Calls work(begin, end) for [0, count) in two halves, the second on a
// thread of its own when count is large.
template <class Work>
void inTwoHalves(std::size_t count, std::size_t parallelFrom, const Work& work) {
    if (count < parallelFrom || std::thread::hardware_concurrency() < 2) {
        work(std::size_t{0}, count);
        return;
    }
    alongside([&work, count] { work(count / 2, count); }, [&work, count] { work(std::size_t{0}, count / 2); });
}

}  // namespace tabulo::textops::detail
