// Both sorts build one key per line (sort_keys.h), sort the keys ascending
// and read them backwards for the descending order: equal lines are
// byte-identical, so which of them comes first does not show.
#include "textops/line_sort.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <utility>

#include "textops/document_text.h"

namespace tabulo::textops {

namespace {

using detail::SortKey;

constexpr std::uint32_t kMaxWhere = std::numeric_limits<std::uint32_t>::max();
// Below this many bytes or lines, building the keys on two threads costs
// more than it saves.
constexpr std::size_t kParallelBytes = 1 << 20;
constexpr std::size_t kParallelLines = 1 << 16;
// How many lines ahead a scattered walk over lines fetches.
constexpr std::size_t kAhead = 16;

std::uint32_t savedLength(std::size_t length) {
    return static_cast<std::uint32_t>(std::min<std::size_t>(length, kMaxWhere));
}

template <class LineOf>
void sortKeys(std::vector<SortKey>& keys, SortOrder order, const LineOf& lineOf) {
    detail::KeySorter<LineOf>(lineOf).sort(keys.data(), keys.data() + keys.size());
    if (order == SortOrder::Descending) std::reverse(keys.begin(), keys.end());
}

// Where the second half of the lines starts: just after the first line
// break at or after the middle of text, or text.size() when there is none.
std::size_t halfWay(std::string_view text) {
    const std::size_t at = text.find_first_of("\r\n", text.size() / 2);
    if (at == std::string_view::npos) return text.size();
    return at + (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n' ? 2 : 1);
}

}  // namespace

int compareLines(std::string_view a, std::string_view b) {
    // char_traits<char>::compare compares as unsigned char, which is the order wanted.
    return a.compare(b);
}

SortedText::SortedText(std::string_view text, SortOrder order, EofByte eofByte) : m_text(text) {
    if (text.size() > kMaxWhere) throw std::length_error("text too large to sort (4 GiB or more)");
    const std::string_view body = eofByte == EofByte::EndsText ? text.substr(0, text.find('\x1a')) : text;
    // Each half of the text is split into lines on a thread of its own:
    // counted first, so that the keys can be written to their places.
    const std::size_t middle = body.size() < kParallelBytes ? body.size() : halfWay(body);
    const std::string_view halves[2] = {body.substr(0, middle), body.substr(middle)};
    std::size_t counts[2] = {};
    bool breaks[2] = {};
    const auto eachHalf = [&halves](const auto& work) {
        if (halves[1].empty()) work(std::size_t{0});
        else detail::alongside([&work] { work(std::size_t{1}); }, [&work] { work(std::size_t{0}); });
    };
    eachHalf([&](std::size_t half) {
        std::size_t count = 0;
        breaks[half] = detail::forEachLine(halves[half], [&count](std::size_t, std::size_t) { ++count; },
                                           EofByte::Ordinary);
        counts[half] = count;
    });
    m_keys.resize(counts[0] + counts[1]);
    m_finalBreak = halves[1].empty() ? breaks[0] : breaks[1];
    eachHalf([&](std::size_t half) {
        SortKey* key = m_keys.data() + (half == 0 ? 0 : counts[0]);
        const std::size_t base = half == 0 ? 0 : middle;
        detail::forEachLine(
            halves[half],
            [&](std::size_t offset, std::size_t length) {
                *key++ = {detail::prefixInText(text, base + offset, length), static_cast<std::uint32_t>(base + offset),
                          savedLength(length)};
            },
            EofByte::Ordinary);
    });
    sortKeys(m_keys, order, [text](const SortKey& key) { return text.substr(key.where, key.length); });
}

LineResult sortLines(std::vector<std::string>& lines, LineRange range, SortOrder order, const ProgressFn& progress) {
    detail::checkRange(lines.size(), range);
    const std::size_t count = range.last - range.first + 1;
    if (count > kMaxWhere) throw std::length_error("too many lines to sort");
    std::string* const base = lines.data() + range.first;
    std::vector<SortKey> keys(count);
    detail::inTwoHalves(count, kParallelLines, [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i)
            keys[i] = {detail::prefixAt(base[i], 0), static_cast<std::uint32_t>(i), savedLength(base[i].size())};
    });
    sortKeys(keys, order, [base](const SortKey& key) { return std::string_view(base[key.where]); });

    // Moving a std::string moves its buffer, so the rebuild never copies line
    // bytes, and a stop can move the same buffers back.
    std::vector<std::string> sorted;
    sorted.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        // The lines are taken in a scattered order: fetch a few ahead.
        if (i + kAhead < count) __builtin_prefetch(&base[keys[i + kAhead].where]);
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
