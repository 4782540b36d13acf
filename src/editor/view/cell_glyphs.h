// CellGlyphs: the glyphs of the editor's font for each of its eight token
// styles, looked up once per character. Text drawn cell by cell needs no
// shaping: every character of a Japanese plain-text line sits in its own
// cell, so the painter is handed glyphs and cell positions directly, which
// costs a fraction of laying the same text out as a string.
#pragma once

#include <QRawFont>
#include <array>
#include <cstdint>
#include <vector>

class QFont;
class QPaintDevice;

namespace tabulo::editor {

class CellGlyphs {
public:
    // Forgets every glyph and takes the fonts of the eight styles, as the
    // painter of `device` resolves them.
    void setFonts(const std::array<QFont, 8>& styledFonts, const QPaintDevice* device);

    const QRawFont& rawFont(int style) const { return m_styles[static_cast<std::size_t>(style)].font; }
    // The glyph of a character in the style's own font, or 0 when that font
    // lacks it (the caller then lets the painter fall back to another font).
    std::uint32_t glyph(int style, char16_t ch);

private:
    struct Style {
        QRawFont font;
        std::vector<std::uint32_t> glyphs;  // by UTF-16 code unit; kUnknown until looked up
    };
    static constexpr std::uint32_t kUnknown = 0xFFFFFFFF;
    std::array<Style, 8> m_styles;
};

}  // namespace tabulo::editor
