#include "print/window/printer_glyphs.h"

#include "sjis/sjis_codec.h"
#include "print/window/printer_font_metrics.h"

#include <QGlyphRun>
#include <QPainter>

namespace tabulo::print {

PrinterGlyphs::PrinterGlyphs(const QFont& font)
    : m_font(font), m_raw(QRawFont::fromFont(font)), m_glyphs(0x10000) {}

RawGlyph rawGlyph(const QRawFont& raw, char16_t unit) {
    RawGlyph found;
    const QChar character(unit);
    quint32 index = 0;
    int count = 1;
    if (raw.isValid() && !character.isSurrogate() && raw.glyphIndexesForChars(&character, 1, &index, &count) &&
        count == 1 && index != 0) {
        found.index = index;
        found.advance = raw.advancesForGlyphIndexes(QList<quint32>{index}).value(0).x();
    }
    return found;
}

const PrinterGlyphs::Glyph& PrinterGlyphs::glyph(char16_t unit) {
    Glyph& found = m_glyphs[unit];
    if (!found.known) {
        static_cast<RawGlyph&>(found) = rawGlyph(m_raw, unit);
        found.known = true;
    }
    return found;
}

void PrinterGlyphs::draw(QPainter& painter, QPointF origin, std::string_view text) {
    const std::u16string units = sjis::SjisCodec::instance().toUtf16(text);
    const auto runStart = m_indexes.size();
    qreal x = origin.x();
    for (const char16_t unit : units) {
        const Glyph& g = glyph(unit);
        if (g.index == 0) {
            m_indexes.resize(runStart);
            m_positions.resize(runStart);
            painter.setFont(m_font);
            painter.drawText(origin, sjisToQString(text));
            return;
        }
        m_indexes.append(g.index);
        m_positions.append(QPointF(x, origin.y()));
        x += g.advance;
    }
}

void PrinterGlyphs::flush(QPainter& painter) {
    if (m_indexes.isEmpty())
        return;
    QGlyphRun run;
    run.setRawFont(m_raw);
    run.setGlyphIndexes(m_indexes);
    run.setPositions(m_positions);
    painter.drawGlyphRun(QPointF(0, 0), run);
    m_indexes.clear();
    m_positions.clear();
}

}  // namespace tabulo::print
