// TMetaFileList: the page recordings of one layout, in order. A recording is
// the page's text runs at their positions in printer dots of the printable
// page, held compactly (the page's bytes in one block); it replays onto any
// surface, scaled to a target rectangle: the printer or the preview image.
//
// Runs are kept rather than QPicture recordings: a QPicture lays every text
// out twice (recording and replay) and stores the font with each run, which
// made a 100 MB document take 1.6 GB and twice the time.
#pragma once

#include "print/engine/page_layout.h"

#include <QFont>
#include <QRectF>
#include <QSize>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QPainter;

namespace tabulo::print {

class PrinterGlyphs;

class TMetaFileList {
public:
    TMetaFileList();
    ~TMetaFileList();

    // Empties the list for pages of `pageSize` dots (the printable page)
    // drawn with the printer font `font`.
    void reset(QSize pageSize, const QFont& font);
    void Clear();
    int Count() const { return static_cast<int>(m_pages.size()); }
    // Records `page` as the next recording.
    void Add(const PrintPage& page);
    QSize pageSize() const { return m_pageSize; }
    const QFont& font() const { return m_font; }

    // Replays recording `index` so that the printable page fills `target`.
    void play(QPainter& painter, int index, const QRectF& target) const;

private:
    struct Run {
        int x;
        int baseline;
        std::uint32_t offset;  // into the page's bytes
        std::uint32_t length;
    };
    struct Page {
        std::string bytes;
        std::vector<Run> runs;
    };

    QSize m_pageSize;
    QFont m_font;
    std::vector<Page> m_pages;
    // The font's glyphs, looked up as pages are replayed.
    mutable std::unique_ptr<PrinterGlyphs> m_glyphs;
};

}  // namespace tabulo::print
