// The characters of JIS X 0208 (rows 1 to 8 and 16 to 84, with the cells
// each row defines), derived arithmetically so that no table is checked in.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace tabulo::kanji::testing {

struct JisChar {
    unsigned char row;   // 0x21 to 0x7E
    unsigned char cell;  // 0x21 to 0x7E
};

inline std::vector<JisChar> jisX0208Chars() {
    // Defined cell ranges (inclusive, in 0x21-based cell codes) of the rows
    // that are not full.
    using Ranges = std::vector<std::pair<int, int>>;
    const auto rangesOf = [](int row) -> Ranges {
        switch (row) {
        case 2: return {{0x21, 0x2E}, {0x3A, 0x41}, {0x4A, 0x50}, {0x5C, 0x6A}, {0x72, 0x79}, {0x7E, 0x7E}};
        case 3: return {{0x30, 0x39}, {0x41, 0x5A}, {0x61, 0x7A}};
        case 4: return {{0x21, 0x73}};
        case 5: return {{0x21, 0x76}};
        case 6: return {{0x21, 0x38}, {0x41, 0x58}};
        case 7: return {{0x21, 0x41}, {0x51, 0x71}};
        case 8: return {{0x21, 0x40}};
        case 47: return {{0x21, 0x53}};
        case 84: return {{0x21, 0x26}};
        default: return {{0x21, 0x7E}};
        }
    };
    std::vector<JisChar> chars;
    for (int row = 1; row <= 84; ++row) {
        if (row > 8 && row < 16) continue;
        for (const auto& [first, last] : rangesOf(row)) {
            for (int cell = first; cell <= last; ++cell) {
                chars.push_back({static_cast<unsigned char>(0x20 + row), static_cast<unsigned char>(cell)});
            }
        }
    }
    return chars;
}

}  // namespace tabulo::kanji::testing
