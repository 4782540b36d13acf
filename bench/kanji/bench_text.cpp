// The benchmark text generator.
#include "bench_text.h"

#include <cstdint>

#include "kanji/kanji_code.h"

namespace tabulo::kanji::bench {

std::string makeSjisText(std::size_t bytes) {
    std::uint32_t state = 12345;
    const auto next = [&state](std::uint32_t range) {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % range;
    };
    std::string text;
    text.reserve(bytes + 128);
    while (text.size() < bytes) {
        const std::uint32_t length = 20 + next(60);
        for (std::uint32_t i = 0; i < length; ++i) {
            const std::uint32_t kind = next(10);
            if (kind < 3) {
                char c = static_cast<char>(0x20 + next(0x5F));
                if (c == 0x5C || c == 0x7E) c = 'x';
                text.push_back(c);
            } else if (kind < 6) {  // hiragana, row 4
                text += ToSjis(0x24, static_cast<unsigned char>(0x21 + next(0x53)));
            } else if (kind < 7) {  // katakana and punctuation, rows 5 and 1
                text += next(2) ? ToSjis(0x25, static_cast<unsigned char>(0x21 + next(0x56)))
                                : ToSjis(0x21, static_cast<unsigned char>(0x21 + next(0x5E)));
            } else {  // kanji, rows 16 to 79 except the half-empty row 47
                unsigned char row = static_cast<unsigned char>(0x30 + next(0x40));
                if (row == 0x4F) row = 0x50;
                text += ToSjis(row, static_cast<unsigned char>(0x21 + next(0x5E)));
            }
        }
        text += "\r\n";
    }
    return text;
}

}  // namespace tabulo::kanji::bench
