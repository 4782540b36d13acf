// The printer font and its measures for the text layout. The font's point
// size becomes a pixel size at the printer's resolution once (points x dpi /
// 72); advances are those of that pixel font's glyphs, the ones the pages
// are drawn with (PrinterGlyphs), cached per Shift-JIS character so that a
// long document is measured at table speed.
#pragma once

#include "print/engine/text_metrics.h"

#include <QFont>
#include <QRawFont>

#include <string_view>
#include <vector>

class QString;

namespace tabulo::print {

// The print font to start with: "ＭＳ 明朝" of height 13 is IPAMincho at
// 10 points here.
QFont defaultPrintFont();

// `font` at `dpi`: the same family and style with a pixel size.
QFont printerFont(const QFont& font, int dpi);

// Shift-JIS bytes as the text drawn for them.
QString sjisToQString(std::string_view bytes);

class PrinterFontMetrics : public TextMetrics {
public:
    // `font` must carry a pixel size (printerFont).
    explicit PrinterFontMetrics(const QFont& font);

    int lineHeight() const override { return m_lineHeight; }
    int ascent() const override { return m_ascent; }
    int averageCharWidth() const override { return m_averageWidth; }
    int charAdvance(unsigned code) const override;

private:
    QFont m_font;
    QRawFont m_raw;
    int m_lineHeight = 0;
    int m_ascent = 0;
    int m_averageWidth = 0;
    mutable std::vector<int> m_advances;  // by code, in 1/64 dots; -1 until measured
};

}  // namespace tabulo::print
