// TEditor: the editor widget. It paints an EditorModel in a monospaced
// Japanese font (a double-byte character takes two cells), shows the caret
// and the selection, scrolls, and keeps the model's TopRow, VisibleRows and
// VisibleColumns true. Editing itself happens in the model; this class only
// translates input into model calls.
#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QFont>

#include "editor/model/editor_view_settings.h"

namespace tabulo::editor {

class EditorModel;

class TEditor : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TEditor(EditorModel& model, QWidget* parent = nullptr);
    ~TEditor() override;

    EditorModel& model() { return m_model; }

    // Extra pixels between character cells (the font's `Margin.Character`).
    void setCharacterMargin(int pixels);
    int characterMargin() const { return m_characterMargin; }
    void setEditorFont(const QFont& font);
    QFont editorFont() const { return font(); }
    void setBackgroundColor(const QColor& color);
    QColor backgroundColor() const { return m_background; }

    // Display and caret settings; each setter repaints (the options dialog
    // applies the program's options through them).
    const TEditorViewInfo& viewInfo() const { return m_viewInfo; }
    void setViewInfo(const TEditorViewInfo& view);
    const TEditorMarks& marks() const { return m_marks; }
    void setMarks(const TEditorMarks& marks);
    const TEditorExMarks& exMarks() const { return m_exMarks; }
    void setExMarks(const TEditorExMarks& marks);
    const TEditorCaret& caretOptions() const { return m_caretOptions; }
    void setCaretOptions(const TEditorCaret& caret);
    const TEditorLeftbar& leftbar() const { return m_leftbar; }
    void setLeftbar(const TEditorLeftbar& bar);
    const TEditorRuler& ruler() const { return m_ruler; }
    void setRuler(const TEditorRuler& ruler);

    int cellWidth() const { return m_cellWidth; }
    int rowHeight() const { return m_rowHeight; }
    int leftMargin() const { return kLeftMargin; }
    int leftColumn() const { return m_leftColumn; }

    // Display cell under a point of the viewport, snapped to a character start.
    struct Cell {
        int row;
        int col;
    };
    Cell cellAt(QPoint viewportPos) const;

signals:
    void selectionChanged();
    void caretMoved();
    void textChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    static constexpr int kLeftMargin = 4;

    void onModelChange(int change);
    void updateMetrics();
    void updateScrollBars();
    void updateVisibleArea();
    void paintRow(class QPainter& p, int row, int y);
    int snapColumn(int row, int col) const;

    EditorModel& m_model;
    int m_observerId = 0;
    int m_cellWidth = 8;
    int m_rowHeight = 16;
    int m_ascent = 12;
    int m_characterMargin = 0;
    bool m_uniformAdvance = true;
    int m_leftColumn = 0;
    int m_widestColumns = 0;
    bool m_dragging = false;
    bool m_syncingScroll = false;
    QColor m_background = Qt::white;
    TEditorViewInfo m_viewInfo;
    TEditorMarks m_marks;
    TEditorExMarks m_exMarks;
    TEditorCaret m_caretOptions;
    TEditorLeftbar m_leftbar;
    TEditorRuler m_ruler;
};

}  // namespace tabulo::editor
