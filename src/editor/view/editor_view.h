// TEditor: the editor widget. It paints an EditorModel in a monospaced
// Japanese font (a double-byte character takes two cells) with token
// colours and marks, the line-number bar and the ruler, shows the caret and
// the selection, scrolls, and keeps the model's TopRow, VisibleRows and
// VisibleColumns true. Keys, typed and input-method text and the mouse are
// translated into model calls; the editing rules live in the model.
#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QElapsedTimer>
#include <QFont>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "editor/model/editor_tokenizer.h"
#include "editor/model/editor_view_settings.h"
#include "editor/view/cell_glyphs.h"
#include "editor/view/preedit.h"

namespace tabulo::platform {
struct ClipboardText;
}

namespace tabulo::editor {

class EditorModel;
struct TextPosition;

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

    // Vertical lines over the text area (the editor's `VerticalLines`), at
    // display columns; the insert-strings dialog shows its column as one.
    struct TVerticalLine {
        int Position;
        QColor Color;
        bool Visible = true;
    };
    void setVerticalLines(std::vector<TVerticalLine> lines);
    const std::vector<TVerticalLine>& verticalLines() const { return m_verticalLines; }

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
    TEditorBracketCollection& brackets() { return m_brackets; }
    // Replaces the reserved words and repaints.
    void setReserveWordList(const std::vector<std::string>& words);
    const ReserveWordList& reserveWordList() const { return m_reserved; }

    // The matches of the last search, drawn in the find colour
    // (`ExMarks.FindColor`, text and background exchanged inside the
    // selection): the finder gives the byte ranges [first, second) of a
    // logical line. An empty finder switches the highlight off. Repaints.
    using MatchFinder = std::function<void(std::string_view line, std::vector<std::pair<std::size_t, std::size_t>>& ranges)>;
    void setMatchFinder(MatchFinder finder);
    bool highlightsMatches() const { return static_cast<bool>(m_matchFinder); }

    // Clipboard exchange of the selection (box text carries the private box
    // type) and select all.
    void copyToClipboard();
    void cutToClipboard();
    void pasteFromClipboard();
    // The X11 PRIMARY selection: pasted at a cell (the middle button).
    void pastePrimaryAt(int row, int col);

    // Input-method composition: the text being composed, shown at the
    // caret and not yet in the document.
    const Preedit& preedit() const { return m_preedit; }
    bool composing() const { return !m_preedit.empty(); }
    // Commits a live composition where it stands, as the input method would
    // on its own commit key; anything that acts on the caret or the text
    // (a click, a key the input method passes on, a command, a focus
    // change) calls it first. When no input method delivers the text the
    // editor commits what it shows, so composed text is never lost.
    void commitComposition();
    // The platform's open operation for a clicked link; replaceable for tests.
    void setLinkOpener(std::function<void(const QString&)> opener) { m_openLink = std::move(opener); }

    int cellWidth() const { return m_cellWidth; }
    int rowHeight() const { return m_rowHeight; }
    int leftMargin() const { return kLeftMargin; }
    int leftColumn() const { return m_leftColumn; }
    // Pixel width of the line-number bar (0 when hidden) and height of the ruler.
    int leftbarPixels() const;
    int rulerPixels() const;

    // Display cell under a point of the viewport, snapped to a character start.
    struct Cell {
        int row;
        int col;
    };
    Cell cellAt(QPoint viewportPos) const;
    // Viewport point of a cell's top-left corner.
    QPoint pointOf(int row, int col) const;
    // The token under a viewport point, if any (its class and text).
    std::optional<std::pair<TokenKind, std::string>> tokenAt(QPoint viewportPos) const;

signals:
    void selectionChanged();
    void caretMoved();
    void textChanged();
    // A note for the user about input (characters replaced by 〓), for the
    // window's status bar.
    void note(const QString& text);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    bool viewportEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // A double-click selects the word under the pointer, a third click soon
    // after it the whole line.
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    // Text dragged from another program is dropped at the cell under the
    // pointer as a paste; dropped files go on to the window.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    static constexpr int kLeftMargin = 4;
    enum class DragState { None, Pending, Dragging };

    void onModelChange(int change);
    void updateMetrics();
    void updateScrollBars();
    void updateVisibleArea();
    void paintRow(class QPainter& p, int row, int y);
    void underlineCells(QPainter& p, const class QRawFont& font, const std::vector<quint32>& glyphs,
                        const std::vector<QPointF>& positions) const;
    void paintLeftbar(QPainter& p);
    void paintRuler(QPainter& p);
    int snapColumn(int row, int col) const;
    int textLeft() const { return leftbarPixels() + kLeftMargin; }
    bool canDragSelection() const;
    bool insideSelection(int row, int col) const;
    void updateHoverCursor(QPoint pos);
    // Incoming text typed at the caret in one step of the history; a
    // character Shift-JIS lacks becomes 〓 and the user is told.
    void typeUnicode(const QString& text);
    void pasteText(const platform::ClipboardText& clip);
    // Replaces the characters [caret + start, caret + start + length) of the
    // caret's line, UTF-16 units counted as characters (an input method's
    // replacement of the surrounding text).
    void selectAroundCaret(int start, int length);
    // Tells the input method that the caret, the text or the view moved.
    void updateInputMethod();
    // Scrolls so that the pre-edit, or at least its cursor, is in view.
    void keepPreeditVisible();
    void paintPreedit(QPainter& p, QPoint at);
    // The selection becomes the PRIMARY selection once the gesture that
    // made it ends.
    void schedulePrimary();
    void publishPrimary();
    // The byte of a cell within its logical line, and back.
    std::size_t lineByteOfCell(int line, Cell cell) const;
    TextPosition positionOfLineByte(int line, std::size_t byte) const;
    void selectLineAt(int row);
    // Tokens of a logical line, with the bracket state its start inherits.
    const std::vector<Token>& lineTokens(int line) const;
    int bracketAtLineStart(int line) const;

    EditorModel& m_model;
    int m_observerId = 0;
    int m_cellWidth = 8;
    int m_rowHeight = 16;
    int m_ascent = 12;
    int m_characterMargin = 0;
    int m_leftColumn = 0;
    int m_widestColumns = 0;
    bool m_syncingScroll = false;
    QColor m_background = Qt::white;
    std::vector<TVerticalLine> m_verticalLines;
    std::array<QFont, 8> m_styledFonts;
    CellGlyphs m_cellGlyphs;  // glyphs of the styled fonts, looked up once
    TEditorViewInfo m_viewInfo;
    TEditorMarks m_marks;
    TEditorExMarks m_exMarks;
    TEditorCaret m_caretOptions;
    TEditorLeftbar m_leftbar;
    TEditorRuler m_ruler;
    TEditorBracketCollection m_brackets;
    ReserveWordList m_reserved;
    std::function<void(const QString&)> m_openLink;
    Preedit m_preedit;  // input-method text being composed
    bool m_primaryPending = false;

    // Mouse gesture state, from a press to its release.
    bool m_buttonDown = false;
    bool m_boxModeShown = false;
    bool m_rowSelecting = false;
    int m_rowSelectAnchor = 0;
    DragState m_drag = DragState::None;
    bool m_escHeld = false;  // a release with Esc held shows the default cursor
    QPoint m_pressPoint;
    Cell m_pressCell{0, 0};
    QElapsedTimer m_sinceDoubleClick;  // for the third click of a triple-click
    QPoint m_doubleClickPoint;

    // Token cache of the line last tokenized, and bracket states at line
    // starts valid for a prefix of the lines.
    mutable int m_tokensLine = -1;
    mutable std::vector<Token> m_tokens;
    // Search matches of the same line, kept with its tokens.
    MatchFinder m_matchFinder;
    mutable std::vector<std::pair<std::size_t, std::size_t>> m_matches;
    mutable std::vector<int> m_lineBrackets;
};

}  // namespace tabulo::editor
