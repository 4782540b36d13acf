#include "print/window/printer_font_metrics.h"

#include "print/window/printer_glyphs.h"
#include "sjis/sjis_codec.h"

#include <QFontMetricsF>
#include <QString>

#include <cmath>

namespace tabulo::print {

QFont defaultPrintFont() {
    return QFont(QStringLiteral("IPAMincho"), 10);
}

QFont printerFont(const QFont& font, int dpi) {
    QFont result(font);
    const double points = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 72.0 / 96.0;
    result.setPixelSize(std::max(1, static_cast<int>(std::lround(points * dpi / 72.0))));
    // Outlines at their designed widths, the same on every device.
    result.setHintingPreference(QFont::PreferNoHinting);
    result.setKerning(false);
    return result;
}

QString sjisToQString(std::string_view bytes) {
    const std::u16string text = sjis::SjisCodec::instance().toUtf16(bytes);
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

PrinterFontMetrics::PrinterFontMetrics(const QFont& font)
    : m_font(font), m_raw(QRawFont::fromFont(font)), m_advances(0x10000, -1) {
    const QFontMetricsF metrics(m_font);
    m_lineHeight = static_cast<int>(std::lround(metrics.height() + metrics.leading()));
    m_ascent = static_cast<int>(std::lround(metrics.ascent()));
    m_averageWidth = static_cast<int>(std::lround(metrics.averageCharWidth()));
}

int PrinterFontMetrics::charAdvance(unsigned code) const {
    code &= 0xFFFF;
    int& advance = m_advances[code];
    if (advance < 0) {
        const char16_t unit = sjis::SjisCodec::instance().charToUtf16(code);
        // The glyph's own advance, as PrinterGlyphs places it; a character
        // the font has no glyph for is drawn as text, from a fallback font.
        const RawGlyph glyph = rawGlyph(m_raw, unit);
        const qreal dots = glyph.index != 0 ? glyph.advance : QFontMetricsF(m_font).horizontalAdvance(QChar(unit));
        advance = static_cast<int>(std::lround(dots * kAdvanceUnitsPerDot));
    }
    return advance;
}

}  // namespace tabulo::print
