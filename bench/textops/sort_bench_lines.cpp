// A fixed pseudo-random generator keeps the input identical between runs and
// machines, so the figures can be compared.
#include "sort_bench_lines.h"

#include <cstdint>
#include <cstdio>
#include <vector>

namespace tabulo::bench {

namespace {

class Random {
public:
    std::uint32_t next(std::uint32_t bound) {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::uint32_t>((m_state >> 33) % bound);
    }

private:
    std::uint64_t m_state = 0x5eed;
};

void appendCharacter(std::string& line, Random& random) {
    const std::uint32_t kind = random.next(100);
    if (kind < 35) {  // hiragana
        line += '\x82';
        line += static_cast<char>(0x9F + random.next(0x53));
    } else if (kind < 45) {  // katakana, trail bytes 0x40..0x96 (0x5C and 0x7C among them)
        line += '\x83';
        line += static_cast<char>(0x40 + random.next(0x57));
    } else if (kind < 70) {  // kanji
        line += static_cast<char>(random.next(4) == 0 ? 0xE0 + random.next(0x0B) : 0x88 + random.next(0x18));
        const std::uint32_t trail = random.next(0xBC);
        line += static_cast<char>(trail < 0x3F ? 0x40 + trail : 0x41 + trail);  // skip 0x7F
    } else if (kind < 92) {  // ASCII letters, digits, punctuation and spaces
        line += static_cast<char>(0x20 + random.next(0x5F));
    } else if (kind < 97) {  // half-width katakana
        line += static_cast<char>(0xA1 + random.next(0x3F));
    } else {  // full-width space
        line += "\x81\x40";
    }
}

}  // namespace

std::string makeSortLines(std::size_t count) {
    Random random;
    std::vector<std::string> recent;
    std::string text;
    text.reserve(count * 34);
    for (std::size_t i = 0; i < count; ++i) {
        std::string line;
        if (!recent.empty() && random.next(10) == 0) {
            line = recent[random.next(static_cast<std::uint32_t>(recent.size()))];
        } else {
            for (std::uint32_t n = random.next(30); n > 0; --n) appendCharacter(line, random);
            if (recent.size() < 1000) recent.push_back(line);
            else recent[random.next(1000)] = line;
        }
        text += line;
        text += "\r\n";
    }
    return text;
}

std::string makeLogLines(std::size_t count) {
    Random random;
    std::string text;
    text.reserve(count * 48);
    char stamp[32];
    for (std::size_t i = 0; i < count; ++i) {
        std::snprintf(stamp, sizeof stamp, "2026-12-%02u %02u:%02u:%02u ", 1 + random.next(3), random.next(24),
                      random.next(60), random.next(60));
        text += stamp;
        for (std::uint32_t n = 4 + random.next(16); n > 0; --n) appendCharacter(text, random);
        text += "\r\n";
    }
    return text;
}

}  // namespace tabulo::bench
