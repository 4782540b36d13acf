// Draws recorded text runs as glyphs of the printer font: each character is
// looked up once (glyph and advance), and a run is placed at the font's own
// advances without being laid out again. Laying every run out anew (script
// itemizing and shaping) took a third of a long print; the printer font has
// no ligatures or kerning to apply, so the result is the same. The glyphs
// of all runs up to flush() go out as one glyph run: every run of its own
// cost the PDF writer a text object each. A run with a character the font
// has no glyph for is drawn as text at once, so that the toolkit's fallback
// fonts still supply it.
#pragma once

#include <QFont>
#include <QList>
#include <QPointF>
#include <QRawFont>

#include <cstdint>
#include <string_view>
#include <vector>

class QPainter;

namespace tabulo::print {

// The glyph of one UTF-16 unit in `raw` and its advance in dots; index 0
// when the font has none (surrogate halves are no characters of their own
// and never have one).
struct RawGlyph {
    std::uint32_t index = 0;
    qreal advance = 0;
};
RawGlyph rawGlyph(const QRawFont& raw, char16_t unit);

class PrinterGlyphs {
public:
    // `font` must carry a pixel size (printerFont).
    explicit PrinterGlyphs(const QFont& font);

    // Draws the Shift-JIS `text` with its baseline's left end at `origin`,
    // with the painter's current pen, by the next flush() at the latest.
    void draw(QPainter& painter, QPointF origin, std::string_view text);
    // Draws the glyphs of the runs drawn since the last flush().
    void flush(QPainter& painter);

private:
    struct Glyph : RawGlyph {
        bool known = false;  // looked up
    };
    const Glyph& glyph(char16_t unit);

    QFont m_font;
    QRawFont m_raw;
    std::vector<Glyph> m_glyphs;  // by UTF-16 unit
    QList<quint32> m_indexes;     // of the runs not flushed yet
    QList<QPointF> m_positions;
};

}  // namespace tabulo::print
