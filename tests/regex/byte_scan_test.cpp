// The vectorised scans against plain loops on random buffers of every
// length around the vector widths, at every alignment.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "regex/byte_scan.h"
#include "regex/sjis.h"

namespace tabulo::regex::detail {
namespace {

std::string randomBytes(std::mt19937& rng, std::size_t n) {
    // Few distinct values, so that matches, line breaks and zeros are common.
    static const unsigned char kBytes[] = {'\n', '\r', 0, 'a', 'b', 0x5C, 0x82, 0x95, 0xA0, 0x7C};
    std::string s(n, ' ');
    for (char& c : s) c = static_cast<char>(kBytes[std::uniform_int_distribution<int>(0, 9)(rng)]);
    return s;
}

// Line feeds and carriage returns not followed by one.
std::size_t plainLineBreaks(const std::string& s) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        count += s[i] == '\n' || (s[i] == '\r' && (i + 1 == s.size() || s[i + 1] != '\n'));
    }
    return count;
}

TEST(ByteScan, AgreesWithPlainLoops) {
    std::mt19937 rng(77);
    for (std::size_t n = 0; n < 140; ++n) {
        for (int round = 0; round < 20; ++round) {
            const std::string s = randomBytes(rng, n);
            const auto* p = reinterpret_cast<const unsigned char*>(s.data());

            EXPECT_EQ(countLineFeeds(p, n), static_cast<std::size_t>(std::count(s.begin(), s.end(), '\n')));
            EXPECT_EQ(countLineBreaks(p, n), plainLineBreaks(s));
            EXPECT_EQ(findLineBreak(p, n), std::min(s.find_first_of("\r\n"), n));

            // One-byte and double-byte codes, the latter also across a lead byte's pair.
            const CodeSetFinder codes({'a', 0x955C, 0x8295});
            std::size_t code = n;
            for (std::size_t i = 0; i < n && code == n; ++i) {
                if (p[i] == 'a' || (i + 1 < n && ((p[i] == 0x95 && p[i + 1] == 0x5C) || (p[i] == 0x82 && p[i + 1] == 0x95)))) code = i;
            }
            EXPECT_EQ(static_cast<std::size_t>(codes.find(p, p + n) - p), code);

            std::size_t lone = n;
            for (std::size_t i = 0; i < n; ++i) {
                if (p[i] == 0 || (p[i] == '\r' && (i + 1 == n || p[i + 1] != '\n'))) {
                    lone = i;
                    break;
                }
            }
            EXPECT_EQ(findLoneCrOrZero(p, n), lone);

            const ByteRangeFinder ranges({{'a', 'b'}, {0x95, 0x95}});
            const auto inRange = [](unsigned char b) { return (b >= 'a' && b <= 'b') || b == 0x95; };
            EXPECT_EQ(ranges.find(p, p + n), std::find_if(p, p + n, inRange));

            for (std::size_t len : {1u, 2u, 3u, 5u}) {
                if (n < len) continue;
                const std::size_t at = std::uniform_int_distribution<std::size_t>(0, n - len)(rng);
                const std::string needle = s.substr(at, len);
                const LiteralFinder finder(needle);
                const std::size_t expected = s.find(needle);
                EXPECT_EQ(static_cast<std::size_t>(finder.find(p, p + n) - p), expected) << n << " " << len;
            }
        }
    }
}

TEST(ByteScan, LongBuffersAreCountedWhole) {
    // Past the byte counters' 255 rounds of 32 bytes.
    std::mt19937 rng(3);
    const std::string s = randomBytes(rng, 40000);
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    EXPECT_EQ(countLineBreaks(p, s.size()), plainLineBreaks(s));
    const std::string lines(20000, '\n');
    EXPECT_EQ(countLineBreaks(reinterpret_cast<const unsigned char*>(lines.data()), lines.size()), lines.size());
}

TEST(ByteScan, CharacterStartsFollowTheSegmentation) {
    std::mt19937 rng(5);
    for (int round = 0; round < 300; ++round) {
        const std::string s = "\n" + randomBytes(rng, 60);
        const auto* p = reinterpret_cast<const unsigned char*>(s.data());
        std::vector<bool> start(s.size(), false);
        for (std::size_t i = 0; i < s.size();) {
            start[i] = true;
            const bool pair = isLeadByte(p[i]) && i + 1 < s.size() && p[i + 1] != '\n' && p[i + 1] != '\r';
            i += pair ? 2 : 1;
        }
        for (std::size_t i = 0; i < s.size(); ++i) {
            EXPECT_EQ(isCharStart(p, i), start[i]) << i;
            // Looking back no further than a known start gives the same answer.
            for (std::size_t from = 0; from <= i; ++from) {
                if (start[from]) {
                    EXPECT_EQ(isCharStart(p, from, i), start[i]) << from << " " << i;
                }
            }
        }
    }
}

}  // namespace
}  // namespace tabulo::regex::detail
