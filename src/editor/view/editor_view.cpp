#include "editor/view/editor_view.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "editor/model/column_classes.h"
#include "editor/model/editor_model.h"
#include "editor/model/sjis_char.h"
#include "platform/codec/sjis_codec.h"

namespace tabulo::editor {

TEditor::TEditor(EditorModel& model, QWidget* parent) : QAbstractScrollArea(parent), m_model(model) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, true);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAutoFillBackground(false);
    QFont f(QStringLiteral("IPAGothic"));
    f.setPixelSize(15);
    f.setStyleHint(QFont::TypeWriter);
    setEditorFont(f);
    m_observerId = m_model.addObserver([this](ModelChange c) { onModelChange(static_cast<int>(c)); });
}

TEditor::~TEditor() {
    m_model.removeObserver(m_observerId);
}

void TEditor::setEditorFont(const QFont& font) {
    setFont(font);
    updateMetrics();
}

void TEditor::setCharacterMargin(int pixels) {
    m_characterMargin = std::max(0, pixels);
    updateMetrics();
}

void TEditor::setBackgroundColor(const QColor& color) {
    m_background = color;
    viewport()->update();
}

void TEditor::setViewInfo(const TEditorViewInfo& view) {
    m_viewInfo = view;
    viewport()->update();
}

void TEditor::setMarks(const TEditorMarks& marks) {
    m_marks = marks;
    viewport()->update();
}

void TEditor::setExMarks(const TEditorExMarks& marks) {
    m_exMarks = marks;
    viewport()->update();
}

void TEditor::setCaretOptions(const TEditorCaret& caret) {
    m_caretOptions = caret;
}

void TEditor::setLeftbar(const TEditorLeftbar& bar) {
    m_leftbar = bar;
    m_leftbar.Column = clampLeftbarColumn(bar.Column);
    viewport()->update();
}

void TEditor::setRuler(const TEditorRuler& ruler) {
    m_ruler = ruler;
    m_ruler.GaugeRange = clampGaugeRange(ruler.GaugeRange);
    viewport()->update();
}

void TEditor::updateMetrics() {
    const QFontMetrics fm(font());
    const int half = fm.horizontalAdvance(QLatin1Char('0'));
    m_cellWidth = std::max(1, half + m_characterMargin);
    m_rowHeight = std::max(1, fm.height());
    m_ascent = fm.ascent();
    // Runs of characters can be drawn as one string only when the font's own
    // advances already fall on the cells.
    const int full = fm.horizontalAdvance(QChar(0x3042));
    m_uniformAdvance = m_characterMargin == 0 && fm.horizontalAdvance(QLatin1Char('W')) == half &&
                       fm.horizontalAdvance(QLatin1Char('i')) == half && full == 2 * half;
    updateVisibleArea();
    updateScrollBars();
    viewport()->update();
}

void TEditor::updateVisibleArea() {
    const int width = viewport()->width() - kLeftMargin - m_cellWidth / 2;
    m_model.setVisibleArea(viewport()->height() / m_rowHeight, std::max(1, width / m_cellWidth));
}

void TEditor::updateScrollBars() {
    m_syncingScroll = true;
    QScrollBar* v = verticalScrollBar();
    v->setRange(0, m_model.lastCaretRow());
    v->setPageStep(m_model.VisibleRows());
    v->setSingleStep(1);
    v->setValue(m_model.TopRow());
    QScrollBar* h = horizontalScrollBar();
    h->setRange(0, std::max(0, m_widestColumns - m_model.VisibleColumns() + 1));
    h->setPageStep(m_model.VisibleColumns());
    h->setValue(m_leftColumn);
    m_syncingScroll = false;
}

void TEditor::onModelChange(int change) {
    switch (static_cast<ModelChange>(change)) {
    case ModelChange::Text:
        emit textChanged();
        emit selectionChanged();
        break;
    case ModelChange::Selection:
        emit selectionChanged();
        break;
    case ModelChange::Caret:
        emit caretMoved();
        break;
    case ModelChange::Flags:
    case ModelChange::Layout:
        break;
    }
    updateScrollBars();
    viewport()->update();
}

void TEditor::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateVisibleArea();
    updateScrollBars();
}

void TEditor::scrollContentsBy(int, int) {
    if (m_syncingScroll) return;
    m_leftColumn = horizontalScrollBar()->value();
    m_model.SetTopRow(verticalScrollBar()->value());
    viewport()->update();
}

void TEditor::wheelEvent(QWheelEvent* event) {
    // One row per notch: down when the delta is zero or negative.
    const int notches = std::max(1, std::abs(event->angleDelta().y()) / 120);
    const int step = event->angleDelta().y() > 0 ? -notches : notches;
    m_model.SetTopRow(m_model.TopRow() + step);
    event->accept();
}

int TEditor::snapColumn(int row, int col) const {
    if (row >= m_model.RowCount()) return 0;
    const std::string& text = m_model.rowText(row);
    const int wrap = m_model.WordWrap() ? m_model.WrapOption().WrapByte : 0;
    const int columns = columnCount(text, m_model.TabSpaceCount(), wrap);
    if (col >= columns) return columns;
    const std::size_t byte = byteOfColumn(text, col, m_model.TabSpaceCount(), wrap);
    return columnOfByte(text, byte, m_model.TabSpaceCount(), wrap);
}

TEditor::Cell TEditor::cellAt(QPoint pos) const {
    const int row = std::clamp(m_model.TopRow() + pos.y() / m_rowHeight, 0, m_model.lastCaretRow());
    const int rawCol = m_leftColumn + std::max(0, (pos.x() - kLeftMargin + m_cellWidth / 2)) / m_cellWidth;
    return {row, snapColumn(row, rawCol)};
}

void TEditor::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    const Cell cell = cellAt(event->position().toPoint());
    m_model.setCaret({cell.row, cell.col}, event->modifiers() & Qt::ShiftModifier);
    m_dragging = true;
}

void TEditor::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragging) return;
    const Cell cell = cellAt(event->position().toPoint());
    m_model.setCaret({cell.row, cell.col}, true);
    m_model.scrollToCaret();
}

void TEditor::mouseReleaseEvent(QMouseEvent*) {
    m_dragging = false;
    if (m_model.hasSelection() && m_model.SelLength() == 0) m_model.clearSelection();
}

void TEditor::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void TEditor::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

void TEditor::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    p.fillRect(viewport()->rect(), m_background);
    p.setFont(font());
    const int first = m_model.TopRow();
    const int last = std::min(m_model.RowCount() - 1, first + m_model.VisibleRows() + 1);
    for (int row = first; row <= last; ++row) paintRow(p, row, (row - first) * m_rowHeight);

    // The caret: a bar, or a block in overwrite mode.
    const TextPosition caret = m_model.caret();
    if (hasFocus() && caret.row >= first && caret.row <= first + m_model.VisibleRows()) {
        const int x = kLeftMargin + (caret.col - m_leftColumn) * m_cellWidth;
        const int y = (caret.row - first) * m_rowHeight;
        if (m_model.OverwriteMode()) {
            p.fillRect(QRect(x, y, m_cellWidth, m_rowHeight), QColor(0, 0, 0, 96));
        } else {
            p.fillRect(QRect(x, y, 2, m_rowHeight), Qt::black);
        }
    }
}

void TEditor::paintRow(QPainter& p, int row, int y) {
    const std::string& text = m_model.rowText(row);
    const int tab = m_model.TabSpaceCount();
    const int wrap = m_model.WordWrap() ? m_model.WrapOption().WrapByte : 0;
    const auto& codec = platform::SjisCodec::instance();

    // Selected columns of this row: [selFrom, selTo).
    int selFrom = 0;
    int selTo = 0;
    if (m_model.hasSelection()) {
        if (m_model.BoxMode()) {
            const TextPosition a = m_model.anchor();
            const TextPosition c = m_model.caret();
            if (row >= std::min(a.row, c.row) && row <= std::max(a.row, c.row)) {
                selFrom = std::min(a.col, c.col);
                selTo = std::max(a.col, c.col);
            }
        } else {
            const TextPosition s = m_model.selectionStart();
            const TextPosition e = m_model.selectionEnd();
            if (row >= s.row && row <= e.row) {
                selFrom = row == s.row ? s.col : 0;
                const bool breakSelected = row < e.row && m_model.rowKind(row) == BreakKind::LineBreak;
                selTo = row == e.row ? e.col : columnCount(text, tab, wrap) + (breakSelected ? 1 : 0);
            }
        }
    }
    if (selTo > selFrom) {
        const QRect band(kLeftMargin + (selFrom - m_leftColumn) * m_cellWidth, y,
                         (selTo - selFrom) * m_cellWidth, m_rowHeight);
        p.fillRect(band, palette().highlight());
    }

    const int visibleEnd = m_leftColumn + m_model.VisibleColumns() + 2;
    int col = 0;
    QString run;
    int runStart = 0;
    auto flush = [&] {
        if (run.isEmpty()) return;
        p.drawText(kLeftMargin + (runStart - m_leftColumn) * m_cellWidth, y + m_ascent, run);
        run.clear();
    };
    for (std::size_t pos = 0; pos < text.size() && col < visibleEnd;) {
        const std::size_t len = charLengthAt(text, pos);
        const auto b = static_cast<unsigned char>(text[pos]);
        int width = len == 2 ? 2 : 1;
        if (b == '\t') {
            int stop = (col / tab + 1) * tab;
            if (wrap > 0) stop = std::min(stop, (col / wrap + 1) * wrap);
            width = stop - col;
        }
        if (col + width > m_leftColumn && b != '\t') {
            const unsigned code = len == 2 ? (b << 8) | static_cast<unsigned char>(text[pos + 1]) : b;
            const QChar ch(codec.charToUtf16(code));
            const bool selected = col >= selFrom && col < selTo;
            p.setPen(selected ? palette().color(QPalette::HighlightedText) : palette().color(QPalette::Text));
            if (m_uniformAdvance && !selected && col >= m_leftColumn) {
                if (run.isEmpty()) runStart = col;
                run.append(ch.isPrint() ? ch : QChar(0xFFFD));
            } else {
                flush();
                p.drawText(kLeftMargin + (col - m_leftColumn) * m_cellWidth, y + m_ascent,
                           QString(ch.isPrint() ? ch : QChar(0xFFFD)));
            }
        } else {
            flush();
        }
        col += width;
        pos += len;
    }
    p.setPen(palette().color(QPalette::Text));
    flush();
    if (col > m_widestColumns) {
        m_widestColumns = col;
        updateScrollBars();
    }
}

}  // namespace tabulo::editor
