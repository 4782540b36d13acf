// The font measures the text layout needs, in printer dots. The window layer
// answers them from the printer font; tests answer them with fixed widths.
#pragma once

namespace tabulo::print {

class TextMetrics {
public:
    virtual ~TextMetrics() = default;
    // The font's height plus its external leading.
    virtual int lineHeight() const = 0;
    virtual int ascent() const = 0;
    virtual int averageCharWidth() const = 0;
    // Advance of one Shift-JIS character: the byte, or lead * 256 + trail.
    virtual int charWidth(unsigned code) const = 0;
};

}  // namespace tabulo::print
