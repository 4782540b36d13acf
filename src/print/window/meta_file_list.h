// TMetaFileList: the page recordings of one layout, in order. Each page is
// recorded once (a QPicture) in printer dots of the printable page and
// replayed onto the printer or, scaled, into the preview.
#pragma once

#include "print/engine/page_layout.h"

#include <QFont>
#include <QPicture>
#include <QRectF>
#include <QSize>

#include <memory>
#include <vector>

class QPainter;

namespace tabulo::print {

class TMetaFileList {
public:
    // Empties the list for pages of `pageSize` dots (the printable page)
    // drawn with the printer font `font`.
    void reset(QSize pageSize, const QFont& font);
    void Clear();
    int Count() const { return static_cast<int>(m_pages.size()); }
    // Records `page` as the next recording.
    void Add(const PrintPage& page);
    const QPicture& GetMetaFile(int index) const { return *m_pages.at(static_cast<std::size_t>(index)); }
    QSize pageSize() const { return m_pageSize; }

    // Replays recording `index` so that the printable page fills `target`.
    void play(QPainter& painter, int index, const QRectF& target) const;

private:
    QSize m_pageSize;
    QFont m_font;
    std::vector<std::unique_ptr<QPicture>> m_pages;
};

}  // namespace tabulo::print
