#include "editor/view/cell_glyphs.h"

#include <QFont>

namespace tabulo::editor {

void CellGlyphs::setFonts(const std::array<QFont, 8>& styledFonts, const QPaintDevice* device) {
    for (std::size_t i = 0; i < m_styles.size(); ++i) {
        m_styles[i].font = QRawFont::fromFont(QFont(styledFonts[i], device));
        m_styles[i].glyphs.clear();
    }
}

std::uint32_t CellGlyphs::glyph(int style, char16_t ch) {
    Style& s = m_styles[static_cast<std::size_t>(style)];
    // A table over the whole UTF-16 range, made for the styles a document
    // actually shows: lookups stay one load on every painted character.
    if (s.glyphs.empty()) s.glyphs.assign(0x10000, kUnknown);
    std::uint32_t& g = s.glyphs[ch];
    if (g == kUnknown) {
        const QChar c(ch);
        quint32 index = 0;
        int count = 1;
        if (!s.font.isValid() || !s.font.glyphIndexesForChars(&c, 1, &index, &count) || count != 1) index = 0;
        g = index;
    }
    return g;
}

}  // namespace tabulo::editor
