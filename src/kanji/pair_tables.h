// Lookup tables for the two-byte characters, built at compile time from the
// arithmetic of byte_classes.h. The converters use them in their inner loops,
// where the formulas' data-dependent branches (odd or even row, which lead
// block) cost more than a table read. Internal to the unit.
#pragma once

#include <array>
#include <cstdint>

#include "kanji/byte_classes.h"

namespace tabulo::kanji::detail {

// Shift-JIS lead bytes 0x81-0x9F and 0xE0-0xFC numbered 0 to 59.
inline constexpr int kLeadCount = 60;
inline constexpr int kTrailSpan = 0xFD - 0x40;  // trail bytes 0x40 to 0xFC
inline constexpr int kJisSpan = 94;              // rows and cells 0x21 to 0x7E

constexpr int leadIndex(unsigned char lead) { return lead < 0xA0 ? lead - 0x81 : lead - 0xE0 + 31; }

// (row << 8 | cell) of every Shift-JIS pair with a lead and a trail byte.
inline constexpr auto kSjisToJis = [] {
    std::array<std::uint16_t, kLeadCount * kTrailSpan> table{};
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead >= 0xA0 && lead < 0xE0) continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const auto a = static_cast<unsigned char>(lead);
            const auto b = static_cast<unsigned char>(trail);
            int row = ((a < 0xA0 ? a - 0x70 : a - 0xB0) * 2) & 0xFF;
            int cell;
            if (b > 0x9E) {
                cell = b - 0x7E;
            } else {
                row = (row - 1) & 0xFF;
                cell = (b - (b < 0x80 ? 0x1F : 0x20)) & 0xFF;
            }
            table[leadIndex(a) * kTrailSpan + (trail - 0x40)] = static_cast<std::uint16_t>(row << 8 | cell);
        }
    }
    return table;
}();

// (lead << 8 | trail) of every JIS row and cell 0x21 to 0x7E.
inline constexpr auto kJisToSjis = [] {
    std::array<std::uint16_t, kJisSpan * kJisSpan> table{};
    for (int a = 0x21; a <= 0x7E; ++a) {
        for (int b = 0x21; b <= 0x7E; ++b) {
            const int lead = (a + 1) / 2 + (a <= 0x5E ? 0x70 : 0xB0);
            const int trail = (a & 1) ? b + (b < 0x60 ? 0x1F : 0x20) : b + 0x7E;
            table[(a - 0x21) * kJisSpan + (b - 0x21)] = static_cast<std::uint16_t>(lead << 8 | trail);
        }
    }
    return table;
}();

// For a lead byte and a trail byte (sjis::isLeadByte, sjis::isTrailByte).
inline std::uint16_t sjisPairToJis(unsigned char lead, unsigned char trail) {
    return kSjisToJis[static_cast<std::size_t>(leadIndex(lead) * kTrailSpan + (trail - 0x40))];
}
// For a row and a cell 0x21 to 0x7E (isJisByte).
inline std::uint16_t jisPairToSjis(unsigned char row, unsigned char cell) {
    return kJisToSjis[static_cast<std::size_t>((row - 0x21) * kJisSpan + (cell - 0x21))];
}

}  // namespace tabulo::kanji::detail
