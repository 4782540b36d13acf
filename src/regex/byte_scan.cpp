// SSE2 where the machine has it, plain loops elsewhere; both give the same
// positions.
#include "regex/byte_scan.h"

#include <string.h>

#include <cstring>
#include <utility>

#include "regex/sjis.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__)
#include <immintrin.h>
#define TABULO_HAVE_AVX2_PATH 1
#endif

namespace tabulo::regex::detail {

#if defined(TABULO_HAVE_AVX2_PATH)
namespace {

bool hasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

// Wider versions of the loops below, used when the processor has AVX2;
// each handles whole 32-byte steps and leaves the rest to the caller.
__attribute__((target("avx2"))) std::size_t countLineFeedsAvx2(const unsigned char* p, std::size_t n, std::size_t& i) {
    std::size_t count = 0;
    const __m256i lf = _mm256_set1_epi8('\n');
    const __m256i zero = _mm256_setzero_si256();
    while (i + 32 <= n) {
        __m256i acc = zero;
        for (int k = 0; k < 255 && i + 32 <= n; ++k, i += 32) {
            acc = _mm256_sub_epi8(acc, _mm256_cmpeq_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i)), lf));
        }
        const __m256i sums = _mm256_sad_epu8(acc, zero);
        count += static_cast<std::size_t>(_mm256_extract_epi64(sums, 0) + _mm256_extract_epi64(sums, 1) +
                                          _mm256_extract_epi64(sums, 2) + _mm256_extract_epi64(sums, 3));
    }
    return count;
}

__attribute__((target("avx2"))) std::size_t countLineBreaksAvx2(const unsigned char* p, std::size_t n, std::size_t& i) {
    std::size_t count = 0;
    const __m256i lf = _mm256_set1_epi8('\n');
    const __m256i cr = _mm256_set1_epi8('\r');
    const __m256i zero = _mm256_setzero_si256();
    while (i + 33 <= n) {
        // Byte counters: a byte adds at most one, so 255 rounds cannot overflow.
        __m256i acc = zero;
        for (int k = 0; k < 255 && i + 33 <= n; ++k, i += 32) {
            const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i));
            const __m256i next = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i + 1));
            const __m256i isCr = _mm256_cmpeq_epi8(v, cr);
            const __m256i lone = _mm256_andnot_si256(_mm256_cmpeq_epi8(next, lf), isCr);
            acc = _mm256_sub_epi8(acc, _mm256_or_si256(_mm256_cmpeq_epi8(v, lf), lone));
        }
        const __m256i sums = _mm256_sad_epu8(acc, zero);
        count += static_cast<std::size_t>(_mm256_extract_epi64(sums, 0) + _mm256_extract_epi64(sums, 1) +
                                          _mm256_extract_epi64(sums, 2) + _mm256_extract_epi64(sums, 3));
    }
    return count;
}

__attribute__((target("avx2"))) std::size_t findLoneCrOrZeroAvx2(const unsigned char* p, std::size_t n, std::size_t& i) {
    const __m256i cr = _mm256_set1_epi8('\r');
    const __m256i lf = _mm256_set1_epi8('\n');
    const __m256i zero = _mm256_setzero_si256();
    for (; i + 33 <= n; i += 32) {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i));
        const __m256i next = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i + 1));
        const __m256i lone = _mm256_andnot_si256(_mm256_cmpeq_epi8(next, lf), _mm256_cmpeq_epi8(v, cr));
        const unsigned mask = static_cast<unsigned>(_mm256_movemask_epi8(_mm256_or_si256(lone, _mm256_cmpeq_epi8(v, zero))));
        if (mask) return i + static_cast<std::size_t>(__builtin_ctz(mask));
    }
    return n;
}

__attribute__((target("avx2"))) const unsigned char* findPairAvx2(const unsigned char*& p, const unsigned char* end,
                                                                  const unsigned char* needle, std::size_t n,
                                                                  std::size_t first, std::size_t second) {
    const __m256i a = _mm256_set1_epi8(static_cast<char>(needle[first]));
    const __m256i b = _mm256_set1_epi8(static_cast<char>(needle[second]));
    while (static_cast<std::size_t>(end - p) >= n + 31) {
        const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + first));
        const __m256i y = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + second));
        unsigned mask = static_cast<unsigned>(
            _mm256_movemask_epi8(_mm256_and_si256(_mm256_cmpeq_epi8(x, a), _mm256_cmpeq_epi8(y, b))));
        while (mask) {
            const unsigned bit = static_cast<unsigned>(__builtin_ctz(mask));
            if (std::memcmp(p + bit, needle, n) == 0) return p + bit;
            mask &= mask - 1;
        }
        p += 32;
    }
    return nullptr;
}

__attribute__((target("avx2"))) const unsigned char* findCodesAvx2(const unsigned char*& p, const unsigned char* end,
                                                                   const std::vector<std::uint16_t>& codes) {
    __m256i first[CodeSetFinder::kMaxCodes];
    __m256i second[CodeSetFinder::kMaxCodes];
    const std::size_t count = codes.size();
    for (std::size_t i = 0; i < count; ++i) {
        first[i] = _mm256_set1_epi8(static_cast<char>(codes[i] > 0xFF ? codes[i] >> 8 : codes[i]));
        second[i] = _mm256_set1_epi8(static_cast<char>(codes[i] & 0xFF));
    }
    const __m256i ones = _mm256_set1_epi8(-1);
    while (end - p >= 33) {
        const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
        const __m256i y = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 1));
        __m256i hit = _mm256_setzero_si256();
        for (std::size_t i = 0; i < count; ++i) {
            const __m256i tail = codes[i] > 0xFF ? _mm256_cmpeq_epi8(y, second[i]) : ones;
            hit = _mm256_or_si256(hit, _mm256_and_si256(_mm256_cmpeq_epi8(x, first[i]), tail));
        }
        if (const auto mask = static_cast<unsigned>(_mm256_movemask_epi8(hit))) return p + __builtin_ctz(mask);
        p += 32;
    }
    return nullptr;
}

}  // namespace
#endif

bool isCharStart(const unsigned char* buf, std::size_t p) {
    return isCharStart(buf, 0, p);
}

bool isCharStart(const unsigned char* buf, std::size_t from, std::size_t p) {
    if (buf[p] == '\n' || buf[p] == '\r') return true;
    std::size_t run = 0;
    while (p - run > from && isLeadByte(buf[p - run - 1])) ++run;
    return run % 2 == 0;
}

std::size_t findLineBreak(const unsigned char* p, std::size_t n) {
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const int mask = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)));
        if (mask) return i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
    }
#endif
    while (i < n && p[i] != '\n' && p[i] != '\r') ++i;
    return i;
}

// Line feeds plus carriage returns less CR LF pairs, in one pass.
std::size_t countLineBreaks(const unsigned char* p, std::size_t n) {
    std::size_t count = 0;
    std::size_t i = 0;
#if defined(TABULO_HAVE_AVX2_PATH)
    if (hasAvx2()) count += countLineBreaksAvx2(p, n, i);
#endif
    for (; i < n; ++i) count += p[i] == '\n' || (p[i] == '\r' && (i + 1 == n || p[i + 1] != '\n'));
    return count;
}

std::size_t findLoneCrOrZero(const unsigned char* p, std::size_t n) {
    std::size_t i = 0;
#if defined(TABULO_HAVE_AVX2_PATH)
    if (hasAvx2()) {
        const std::size_t at = findLoneCrOrZeroAvx2(p, n, i);
        if (at < n) return at;
    }
#endif
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i zero = _mm_setzero_si128();
    for (; i + 17 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 1));
        const __m128i lone = _mm_andnot_si128(_mm_cmpeq_epi8(next, lf), _mm_cmpeq_epi8(v, cr));
        const int mask = _mm_movemask_epi8(_mm_or_si128(lone, _mm_cmpeq_epi8(v, zero)));
        if (mask) return i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
    }
#endif
    for (; i < n; ++i) {
        if (p[i] == 0 || (p[i] == '\r' && (i + 1 == n || p[i + 1] != '\n'))) return i;
    }
    return n;
}

std::size_t countLineFeeds(const unsigned char* p, std::size_t n) {
    std::size_t count = 0;
    std::size_t i = 0;
#if defined(TABULO_HAVE_AVX2_PATH)
    if (hasAvx2()) count += countLineFeedsAvx2(p, n, i);
#endif
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i zero = _mm_setzero_si128();
    while (i + 16 <= n) {
        // Byte counters, summed before they can overflow.
        __m128i acc = zero;
        for (int k = 0; k < 255 && i + 16 <= n; ++k, i += 16) {
            acc = _mm_sub_epi8(acc, _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i)), lf));
        }
        const __m128i sums = _mm_sad_epu8(acc, zero);
        count += static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) +
                 static_cast<std::size_t>(_mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
    }
#endif
    for (; i < n; ++i) count += p[i] == '\n';
    return count;
}

// The filter bytes are the last byte and the last byte of an earlier
// character that differs from it: in Japanese text trail bytes vary far
// more than lead bytes, so the pair rarely occurs by chance.
LiteralFinder::LiteralFinder(std::string needle) : m_needle(std::move(needle)) {
    const std::size_t n = m_needle.size();
    m_second = n - 1;
    m_first = 0;
    std::size_t i = 0;
    while (i + 1 < n) {
        const std::size_t len = isLeadByte(static_cast<unsigned char>(m_needle[i])) && i + 1 < n ? 2 : 1;
        const std::size_t last = i + len - 1;
        if (last < m_second && m_needle[last] != m_needle[m_second]) m_first = last;
        i += len;
    }
}

const unsigned char* LiteralFinder::find(const unsigned char* p, const unsigned char* end) const {
    const std::size_t n = m_needle.size();
    if (static_cast<std::size_t>(end - p) < n) return end;
    const auto* needle = reinterpret_cast<const unsigned char*>(m_needle.data());
#if defined(TABULO_HAVE_AVX2_PATH)
    if (hasAvx2()) {
        if (const unsigned char* found = findPairAvx2(p, end, needle, n, m_first, m_second)) return found;
    }
#endif
#if defined(__SSE2__)
    const __m128i first = _mm_set1_epi8(static_cast<char>(needle[m_first]));
    const __m128i second = _mm_set1_epi8(static_cast<char>(needle[m_second]));
    while (static_cast<std::size_t>(end - p) >= n + 15) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + m_first));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + m_second));
        unsigned mask = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, second))));
        while (mask) {
            const unsigned bit = static_cast<unsigned>(__builtin_ctz(mask));
            if (std::memcmp(p + bit, needle, n) == 0) return p + bit;
            mask &= mask - 1;
        }
        p += 16;
    }
#endif
    const void* found = ::memmem(p, static_cast<std::size_t>(end - p), needle, n);
    return found ? static_cast<const unsigned char*>(found) : end;
}

CodeSetFinder::CodeSetFinder(const std::vector<std::uint16_t>& codes) : m_codes(codes) {
    for (const std::uint16_t c : codes) {
        if (c > 0xFF) m_size = 2;
    }
}

bool CodeSetFinder::at(const unsigned char* p, const unsigned char* end) const {
    for (const unsigned c : m_codes) {
        if (c <= 0xFF ? *p == c : end - p >= 2 && p[0] == c >> 8 && p[1] == (c & 0xFF)) return true;
    }
    return false;
}

const unsigned char* CodeSetFinder::find(const unsigned char* p, const unsigned char* end) const {
#if defined(TABULO_HAVE_AVX2_PATH)
    if (hasAvx2()) {
        if (const unsigned char* found = findCodesAvx2(p, end, m_codes)) return found;
    }
#endif
#if defined(__SSE2__)
    __m128i first[kMaxCodes];
    __m128i second[kMaxCodes];
    const std::size_t count = m_codes.size();
    for (std::size_t i = 0; i < count; ++i) {
        first[i] = _mm_set1_epi8(static_cast<char>(m_codes[i] > 0xFF ? m_codes[i] >> 8 : m_codes[i]));
        second[i] = _mm_set1_epi8(static_cast<char>(m_codes[i] & 0xFF));
    }
    const __m128i ones = _mm_set1_epi8(-1);
    while (end - p >= 17) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
        __m128i hit = _mm_setzero_si128();
        for (std::size_t i = 0; i < count; ++i) {
            const __m128i tail = m_codes[i] > 0xFF ? _mm_cmpeq_epi8(y, second[i]) : ones;
            hit = _mm_or_si128(hit, _mm_and_si128(_mm_cmpeq_epi8(x, first[i]), tail));
        }
        if (const auto mask = static_cast<unsigned>(_mm_movemask_epi8(hit))) return p + __builtin_ctz(mask);
        p += 16;
    }
#endif
    while (p < end && !at(p, end)) ++p;
    return p;
}

bool ByteRangeFinder::contains(unsigned char b) const {
    for (const Range& r : m_ranges) {
        if (r.lo <= b && b <= r.hi) return true;
    }
    return false;
}

const unsigned char* ByteRangeFinder::find(const unsigned char* p, const unsigned char* end) const {
#if defined(__SSE2__)
    __m128i lo[kMaxRanges];
    __m128i width[kMaxRanges];
    const std::size_t count = m_ranges.size();
    for (std::size_t i = 0; i < count; ++i) {
        lo[i] = _mm_set1_epi8(static_cast<char>(m_ranges[i].lo));
        width[i] = _mm_set1_epi8(static_cast<char>(m_ranges[i].hi - m_ranges[i].lo));
    }
    while (end - p >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        __m128i hit = _mm_setzero_si128();
        for (std::size_t i = 0; i < count; ++i) {
            const __m128i x = _mm_sub_epi8(v, lo[i]);
            hit = _mm_or_si128(hit, _mm_cmpeq_epi8(_mm_min_epu8(x, width[i]), x));
        }
        const int mask = _mm_movemask_epi8(hit);
        if (mask) return p + __builtin_ctz(static_cast<unsigned>(mask));
        p += 16;
    }
#endif
    while (p < end && !contains(*p)) ++p;
    return p;
}

}  // namespace tabulo::regex::detail
