// The font measures the text layout needs, in printer dots. The window layer
// answers them from the printer font; tests answer them with fixed widths.
#pragma once

namespace tabulo::print {

// Character advances are counted in 1/64 dot, the precision of the font
// engine's advances: a line measures as the sum of the advances it is drawn
// with, and only the whole is compared with a column. Rounding each advance
// to a dot would make a line of 100 half-width characters 41.5 dots wide
// measure 4200 dots although it is drawn in 4150.
inline constexpr int kAdvanceUnitsPerDot = 64;

class TextMetrics {
public:
    virtual ~TextMetrics() = default;
    // The font's height plus its external leading.
    virtual int lineHeight() const = 0;
    virtual int ascent() const = 0;
    virtual int averageCharWidth() const = 0;
    // Advance of one Shift-JIS character (the byte, or lead * 256 + trail)
    // in 1/kAdvanceUnitsPerDot dots.
    virtual int charAdvance(unsigned code) const = 0;
};

}  // namespace tabulo::print
