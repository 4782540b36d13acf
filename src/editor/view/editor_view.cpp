#include "editor/view/editor_view.h"

#include <QApplication>
#include <QBitmap>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QPixmap>
#include <QScrollBar>
#include <QTextCharFormat>
#include <QTimer>
#include <QUrl>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "editor/model/column_classes.h"
#include "editor/model/editor_keys.h"
#include "editor/model/editor_model.h"
#include "editor/model/leftbar_layout.h"
#include "sjis/sjis_char.h"
#include "editor/view/surrounding_text.h"
#include "platform/clipboard.h"
#include "platform/incoming_text.h"
#include "sjis/sjis_codec.h"
#include "platform/error_handler.h"
#include "platform/prompts.h"

namespace tabulo::editor {

using sjis::charLengthAt;

namespace {

QColor toQColor(Rgb c) {
    return QColor(c.red(), c.green(), c.blue());
}

// The left margin's cursor: an arrow pointing right, as the row-selecting
// side of the text.
QCursor rightArrowCursor() {
    static const QCursor cursor = [] {
        QPixmap pm(16, 16);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing, false);
        const QPolygon arrow({QPoint(15, 0), QPoint(15, 11), QPoint(12, 8), QPoint(9, 14), QPoint(7, 13),
                              QPoint(10, 7), QPoint(5, 7)});
        p.setPen(Qt::white);
        p.setBrush(Qt::black);
        p.drawPolygon(arrow);
        return QCursor(pm, 15, 0);
    }();
    return cursor;
}

const TEditorColor* colorOf(const TEditorColors& colors, const Token& t) {
    if (t.reserved) return &colors.Reserve;
    switch (t.kind) {
    case TokenKind::Ank: return &colors.Ank;
    case TokenKind::Comment: return &colors.Comment;
    case TokenKind::DBCS: return &colors.DBCS;
    case TokenKind::Int: return &colors.Int;
    case TokenKind::Mail: return &colors.Mail;
    case TokenKind::Str: return &colors.Str;
    case TokenKind::Symbol: return &colors.Symbol;
    case TokenKind::Url: return &colors.Url;
    case TokenKind::None:
    case TokenKind::Bracket: return nullptr;
    }
    return nullptr;
}

// Index of a token style among the editor's eight styled fonts.
int styleIndex(const FontStyle& style) {
    return (style.bold ? 1 : 0) | (style.italic ? 2 : 0) | (style.underline ? 4 : 0);
}

std::optional<EditKey> editKeyOf(int key) {
    switch (key) {
    case Qt::Key_Left: return EditKey::Left;
    case Qt::Key_Right: return EditKey::Right;
    case Qt::Key_Up: return EditKey::Up;
    case Qt::Key_Down: return EditKey::Down;
    case Qt::Key_Home: return EditKey::Home;
    case Qt::Key_End: return EditKey::End;
    case Qt::Key_PageUp: return EditKey::PageUp;
    case Qt::Key_PageDown: return EditKey::PageDown;
    case Qt::Key_Delete: return EditKey::Delete;
    case Qt::Key_Backspace: return EditKey::Backspace;
    case Qt::Key_Tab: return EditKey::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return EditKey::Enter;
    default: return std::nullopt;
    }
}

}  // namespace

TEditor::TEditor(EditorModel& model, QWidget* parent) : QAbstractScrollArea(parent), m_model(model) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, true);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    QFont f(QStringLiteral("IPAGothic"));
    f.setPixelSize(15);
    f.setStyleHint(QFont::TypeWriter);
    setEditorFont(f);
    m_openLink = [](const QString& text) {
        const QUrl url = text.startsWith(QStringLiteral("www.")) ? QUrl::fromUserInput(text) : QUrl(text);
        QDesktopServices::openUrl(url);
    };
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
    m_tokensLine = -1;
    m_lineBrackets.clear();
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
    updateVisibleArea();
    viewport()->update();
}

void TEditor::setRuler(const TEditorRuler& ruler) {
    m_ruler = ruler;
    m_ruler.GaugeRange = clampGaugeRange(ruler.GaugeRange);
    updateVisibleArea();
    viewport()->update();
}

void TEditor::setReserveWordList(const std::vector<std::string>& words) {
    m_reserved.Assign(words);
    m_tokensLine = -1;
    viewport()->update();
}

int TEditor::leftbarPixels() const {
    if (!m_leftbar.Visible) return 0;
    return leftbarWidth(m_leftbar, leftbarDigits(m_leftbar, m_model), m_cellWidth);
}

int TEditor::rulerPixels() const {
    if (!m_ruler.Visible) return 0;
    return m_ruler.Edge ? 11 : 10;
}

void TEditor::updateMetrics() {
    const QFontMetrics fm(font());
    const int half = fm.horizontalAdvance(QLatin1Char('0'));
    m_cellWidth = std::max(1, half + m_characterMargin);
    m_rowHeight = std::max(1, fm.height());
    m_ascent = fm.ascent();
    // Token styles: bold, italic and underline combinations, resolved once.
    for (int style = 0; style < 8; ++style) {
        QFont f = font();
        f.setBold(style & 1);
        f.setItalic(style & 2);
        f.setUnderline(style & 4);
        m_styledFonts[static_cast<std::size_t>(style)] = f;
    }
    m_cellGlyphs.setFonts(m_styledFonts, viewport());
    updateVisibleArea();
    updateScrollBars();
    viewport()->update();
}

void TEditor::updateVisibleArea() {
    const int width = viewport()->width() - textLeft() - m_cellWidth / 2;
    m_model.setVisibleArea((viewport()->height() - rulerPixels()) / m_rowHeight, std::max(1, width / m_cellWidth));
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
    case ModelChange::Text: {
        const int from = m_model.changedFromLine();
        m_model.resetChangedFromLine();
        m_tokensLine = -1;
        if (static_cast<int>(m_lineBrackets.size()) > from) m_lineBrackets.resize(static_cast<std::size_t>(std::max(0, from)));
        updateVisibleArea();  // the line-number bar may have widened
        emit textChanged();
        emit selectionChanged();
        break;
    }
    case ModelChange::Layout:
        m_tokensLine = -1;
        m_lineBrackets.clear();
        break;
    case ModelChange::Selection:
        emit selectionChanged();
        schedulePrimary();
        break;
    case ModelChange::Caret:
        emit caretMoved();
        break;
    case ModelChange::Flags:
        break;
    }
    if (m_model.BoxMode() != m_boxModeShown) {
        m_boxModeShown = m_model.BoxMode();
        if (m_boxModeShown) viewport()->setCursor(Qt::IBeamCursor);  // no selection can be dragged now
    }
    // Keep the caret's column in view horizontally.
    const int col = m_model.Col();
    if (col < m_leftColumn) {
        m_leftColumn = col;
    } else if (col >= m_leftColumn + m_model.VisibleColumns()) {
        m_leftColumn = col - m_model.VisibleColumns() + 1;
    }
    m_widestColumns = std::max(m_widestColumns, col + 1);
    updateScrollBars();
    viewport()->update();
    updateInputMethod();
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
    updateInputMethod();
}

void TEditor::wheelEvent(QWheelEvent* event) {
    // One row per notch: down when the delta is zero or negative.
    const int notches = std::max(1, std::abs(event->angleDelta().y()) / 120);
    const int step = event->angleDelta().y() > 0 ? -notches : notches;
    m_model.SetTopRow(m_model.TopRow() + step);
    event->accept();
}

// ---------------------------------------------------------------- keys

bool TEditor::event(QEvent* e) {
    // Tab is an editing key here, not a focus move.
    if (e->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(e);
        if (key->key() == Qt::Key_Tab && !(key->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier))) {
            keyPressEvent(key);
            return true;
        }
    }
    return QAbstractScrollArea::event(e);
}

void TEditor::keyPressEvent(QKeyEvent* event) {
    // A key the input method passed on acts on committed text.
    commitComposition();
    if (event->key() == Qt::Key_Escape) m_escHeld = true;
    const Qt::KeyboardModifiers mods = event->modifiers();
    // The desktop's clipboard keys, beside the editor's own.
    const Qt::KeyboardModifiers clipMods = mods & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (event->key() == Qt::Key_Insert && clipMods == Qt::ShiftModifier) {
        pasteFromClipboard();
        return;
    }
    if (event->key() == Qt::Key_Insert && clipMods == Qt::ControlModifier) {
        copyToClipboard();
        return;
    }
    if (event->key() == Qt::Key_Delete && clipMods == Qt::ShiftModifier) {
        cutToClipboard();
        return;
    }
    if (const auto key = editKeyOf(event->key())) {
        if (*key == EditKey::Tab && (mods & (Qt::ControlModifier | Qt::ShiftModifier))) {
            event->ignore();
            return;
        }
        KeyModifiers m;
        m.shift = mods & Qt::ShiftModifier;
        m.ctrl = mods & Qt::ControlModifier;
        m.autoRepeat = event->isAutoRepeat();
        pressKey(m_model, m_caretOptions, *key, m);
        event->accept();
        return;
    }
    const QString text = event->text();
    if (!text.isEmpty() && !(mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) &&
        text.at(0).unicode() >= 0x20 && text.at(0).unicode() != 0x7F) {
        typeUnicode(text);
        event->accept();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void TEditor::typeUnicode(const QString& text) {
    const platform::IncomingText in = platform::sjisOfIncomingText(text);
    // Control characters are no typing; everything else goes in.
    if (!typeText(m_model, in.sjis)) {
        platform::prompts().beep();
        return;
    }
    if (in.replaced > 0) emit note(platform::replacedCharactersNote(in.replaced));
}

void TEditor::selectAroundCaret(int start, int length) {
    const TextPosition caret = m_model.caret();
    if (caret.row >= m_model.RowCount()) return;
    const int line = m_model.LineIndexOfRow(caret.row);
    const std::string text = m_model.Lines().Get(line);
    const std::size_t caretByte = std::min(lineByteOfCell(line, {caret.row, caret.col}), text.size());
    // Character starts of the line; one character is one UTF-16 unit.
    std::vector<std::size_t> starts;
    for (std::size_t pos = 0; pos < text.size(); pos += charLengthAt(text, pos)) starts.push_back(pos);
    starts.push_back(text.size());
    const auto caretIndex = static_cast<int>(std::lower_bound(starts.begin(), starts.end(), caretByte) - starts.begin());
    const int last = static_cast<int>(starts.size()) - 1;
    const int from = std::clamp(caretIndex + start, 0, last);
    const int to = std::clamp(caretIndex + start + length, from, last);
    m_model.select(positionOfLineByte(line, starts[static_cast<std::size_t>(from)]),
                   positionOfLineByte(line, starts[static_cast<std::size_t>(to)]));
}

void TEditor::inputMethodEvent(QInputMethodEvent* event) {
    if (event->replacementLength() > 0 || event->replacementStart() != 0) {
        selectAroundCaret(event->replacementStart(), event->replacementLength());
        if (m_model.hasSelection() && event->commitString().isEmpty()) m_model.deleteSelection();
    }
    if (!event->commitString().isEmpty()) typeUnicode(event->commitString());
    // The text still being composed is shown at the caret, not stored.
    m_preedit.set(*event);
    keepPreeditVisible();
    viewport()->update();
    updateInputMethod();
    event->accept();
}

void TEditor::commitComposition() {
    if (m_preedit.empty()) return;
    // The input method commits through an event to the focus object.
    if (QGuiApplication::focusObject() == this) QGuiApplication::inputMethod()->commit();
    if (m_preedit.empty()) return;
    const QString text = m_preedit.text;
    m_preedit.clear();
    typeUnicode(text);
    QGuiApplication::inputMethod()->reset();  // it must forget what it no longer shows
    viewport()->update();
}

void TEditor::keepPreeditVisible() {
    if (m_preedit.empty()) return;
    m_model.scrollToCaret();
    const int col = m_model.Col();
    const int end = col + m_preedit.columns();  // the caret may stand after it
    const int cursor = col + m_preedit.columnsBefore(m_preedit.cursor);
    const int visible = m_model.VisibleColumns();
    int left = m_leftColumn;
    if (end - col < visible) {
        left = std::clamp(left, end - visible + 1, col);
    } else {
        left = std::clamp(left, cursor - visible + 1, cursor);
    }
    m_widestColumns = std::max(m_widestColumns, end + 1);
    if (left != m_leftColumn) {
        m_leftColumn = std::max(0, left);
        updateScrollBars();
    }
}

void TEditor::updateInputMethod() {
    if (!hasFocus() || m_model.updating()) return;
    QGuiApplication::inputMethod()->update(Qt::ImQueryInput | Qt::ImInputItemClipRectangle);
}

QVariant TEditor::inputMethodQuery(Qt::InputMethodQuery query) const {
    const TextPosition caret = m_model.caret();
    // The caret's line and the selection's anchor when it is on that line.
    const auto surrounding = [&] {
        if (caret.row >= m_model.RowCount()) return SurroundingText{};
        const int line = m_model.LineIndexOfRow(caret.row);
        const std::size_t caretByte = lineByteOfCell(line, {caret.row, caret.col});
        std::size_t anchorByte = caretByte;
        if (m_model.hasSelection() && !m_model.BoxMode() && m_model.LineIndexOfRow(m_model.anchor().row) == line &&
            m_model.anchor().row < m_model.RowCount()) {
            anchorByte = lineByteOfCell(line, {m_model.anchor().row, m_model.anchor().col});
        }
        return surroundingText(m_model.Lines().Get(line), caretByte, anchorByte);
    };
    switch (query) {
    case Qt::ImEnabled: return true;
    case Qt::ImReadOnly: return false;
    case Qt::ImHints: return QVariant::fromValue(Qt::ImhMultiLine);
    case Qt::ImEnterKeyType: return Qt::EnterKeyReturn;
    case Qt::ImFont: return font();
    case Qt::ImMaximumTextLength: return QVariant();
    case Qt::ImCursorRectangle: {
        // At the input method's cursor within the pre-edit, so its
        // candidate list stands beside the clause being converted.
        const int col = caret.col + m_preedit.columnsBefore(m_preedit.cursor);
        return QRect(viewport()->mapTo(this, pointOf(caret.row, col)), QSize(2, m_rowHeight));
    }
    case Qt::ImAnchorRectangle: {
        const TextPosition a = m_model.hasSelection() ? m_model.anchor() : caret;
        return QRect(viewport()->mapTo(this, pointOf(a.row, a.col)), QSize(2, m_rowHeight));
    }
    case Qt::ImInputItemClipRectangle: return QRect(viewport()->mapTo(this, QPoint(0, 0)), viewport()->size());
    case Qt::ImSurroundingText: return surrounding().text;
    case Qt::ImCursorPosition: return surrounding().cursor;
    case Qt::ImAnchorPosition: return surrounding().anchor;
    case Qt::ImAbsolutePosition: return static_cast<qlonglong>(m_model.offsetOfPosition(caret));
    case Qt::ImTextBeforeCursor: {
        const SurroundingText t = surrounding();
        return t.text.left(t.cursor);
    }
    case Qt::ImTextAfterCursor: {
        const SurroundingText t = surrounding();
        return t.text.mid(t.cursor);
    }
    case Qt::ImCurrentSelection: {
        if (!m_model.hasSelection() || m_model.SelLength() == 0 || m_model.SelLength() > 65536) return QString();
        const std::u16string u = sjis::SjisCodec::instance().toUtf16(m_model.SelectedText());
        return QString(reinterpret_cast<const QChar*>(u.data()), static_cast<qsizetype>(u.size()));
    }
    default: return QAbstractScrollArea::inputMethodQuery(query);
    }
}

// ---------------------------------------------------------------- clipboard

void TEditor::copyToClipboard() {
    if (!m_model.hasSelection() || m_model.SelLength() == 0) return;
    platform::setClipboardText(m_model.SelectedText(), m_model.BoxMode());
}

void TEditor::cutToClipboard() {
    if (!m_model.hasSelection() || m_model.SelLength() == 0) return;
    copyToClipboard();
    m_model.deleteSelection();
}

void TEditor::pasteFromClipboard() {
    commitComposition();
    if (const std::optional<platform::ClipboardText> clip = platform::clipboardText()) pasteText(*clip);
}

void TEditor::pastePrimaryAt(int row, int col) {
    commitComposition();
    const std::optional<platform::ClipboardText> clip = platform::clipboardText(platform::ClipboardMode::Primary);
    if (!clip || clip->sjis.empty()) return;
    m_model.setCaret({row, col});  // the selection goes; the text goes where the click was
    pasteText(*clip);
}

void TEditor::pasteText(const platform::ClipboardText& clip) {
    if (clip.sjis.empty()) {
        if (m_model.hasSelection()) m_model.deleteSelection();
        return;
    }
    if (clip.box) {
        m_model.pasteBox(clip.sjis);
    } else {
        m_model.replaceSelection(clip.sjis);
    }
    m_model.scrollToCaret();
    if (clip.replaced > 0) {
        platform::prompts().message(
            QStringLiteral("Shift-JIS にない文字 %1 個を「〓」に置き換えて貼り付けました。").arg(clip.replaced),
            QString(), platform::Icon::Warning);
    }
}

void TEditor::schedulePrimary() {
    if (m_primaryPending || !platform::hasPrimarySelection()) return;
    m_primaryPending = true;
    QTimer::singleShot(0, this, &TEditor::publishPrimary);
}

void TEditor::publishPrimary() {
    m_primaryPending = false;
    if (m_buttonDown) return;  // the release publishes the finished selection
    if (!m_model.hasSelection() || m_model.SelLength() == 0) return;
    platform::setClipboardText(m_model.SelectedText(), m_model.BoxMode(), platform::ClipboardMode::Primary);
}

// ---------------------------------------------------------------- mouse

int TEditor::snapColumn(int row, int col) const {
    if (row >= m_model.RowCount()) return 0;
    const std::string_view text = m_model.rowText(row);
    const int wrap = m_model.columnWrapWidth();
    const int columns = columnCount(text, m_model.TabSpaceCount(), wrap);
    if (col >= columns) return m_model.BoxMode() ? col : columns;
    const std::size_t byte = byteOfColumn(text, col, m_model.TabSpaceCount(), wrap);
    return columnOfByte(text, byte, m_model.TabSpaceCount(), wrap);
}

TEditor::Cell TEditor::cellAt(QPoint pos) const {
    const int y = pos.y() - rulerPixels();
    const int rowOffset = y < 0 ? -1 : y / m_rowHeight;  // above the text: the row above
    const int row = std::clamp(m_model.TopRow() + rowOffset, 0, m_model.lastCaretRow());
    const int rawCol = m_leftColumn + std::max(0, (pos.x() - textLeft() + m_cellWidth / 2)) / m_cellWidth;
    return {row, snapColumn(row, rawCol)};
}

QPoint TEditor::pointOf(int row, int col) const {
    return {textLeft() + (col - m_leftColumn) * m_cellWidth, rulerPixels() + (row - m_model.TopRow()) * m_rowHeight};
}

bool TEditor::canDragSelection() const {
    return m_model.hasSelection() && !m_model.BoxMode() && m_caretOptions.SelMove && m_model.SelLength() > 0;
}

bool TEditor::insideSelection(int row, int col) const {
    if (!m_model.hasSelection()) return false;
    const TextPosition p{row, col};
    return !(p < m_model.selectionStart()) && p < m_model.selectionEnd();
}

std::optional<std::pair<TokenKind, std::string>> TEditor::tokenAt(QPoint pos) const {
    if (pos.x() < textLeft() || pos.y() < rulerPixels()) return std::nullopt;
    const int row = m_model.TopRow() + (pos.y() - rulerPixels()) / m_rowHeight;
    if (row >= m_model.RowCount()) return std::nullopt;
    const int col = m_leftColumn + (pos.x() - textLeft()) / m_cellWidth;
    if (col >= m_model.rowColumns(row)) return std::nullopt;
    const int line = m_model.LineIndexOfRow(row);
    const std::size_t byte = lineByteOfCell(line, {row, col});
    const std::string text = m_model.Lines().Get(line);
    for (const Token& t : lineTokens(line)) {
        if (byte >= t.begin && byte < t.end) return std::make_pair(t.kind, text.substr(t.begin, t.end - t.begin));
    }
    return std::nullopt;
}

std::size_t TEditor::lineByteOfCell(int line, Cell cell) const {
    std::size_t byte = m_model.byteOfRowColumn(cell.row, cell.col);
    for (int r = m_model.firstRowOfLine(line); r < cell.row; ++r) byte += m_model.rowText(r).size();
    return byte;
}

TextPosition TEditor::positionOfLineByte(int line, std::size_t byte) const {
    // Soft wraps add no offsets, so a line's bytes are consecutive offsets.
    return m_model.positionOfOffset(m_model.offsetOfRow(m_model.firstRowOfLine(line)) +
                                    static_cast<std::int64_t>(byte));
}

void TEditor::selectLineAt(int row) {
    if (row >= m_model.RowCount()) return;  // the empty row after a final break
    const int line = m_model.LineIndexOfRow(row);
    const int lastRow = m_model.firstRowOfLine(line + 1) - 1;
    // With its line break, when it has one.
    const TextPosition end = m_model.rowKind(lastRow) == BreakKind::LineBreak
                                 ? TextPosition{lastRow + 1, 0}
                                 : TextPosition{lastRow, m_model.rowColumns(lastRow)};
    m_model.select({m_model.firstRowOfLine(line), 0}, end);
}

void TEditor::updateHoverCursor(QPoint pos) {
    if (!m_caretOptions.AutoCursor) return;
    QCursor cursor(Qt::IBeamCursor);
    if (pos.x() < leftbarPixels()) {
        cursor = rightArrowCursor();
    } else if (pos.y() < rulerPixels()) {
        cursor = QCursor(Qt::ArrowCursor);
    } else {
        const Cell cell = cellAt(pos);
        const auto token = tokenAt(pos);
        if (canDragSelection() && insideSelection(cell.row, cell.col)) {
            cursor = QCursor(Qt::ArrowCursor);
        } else if (token && token->first == TokenKind::Url) {
            cursor = QCursor(Qt::PointingHandCursor);
        }
    }
    viewport()->setCursor(cursor);
}

bool TEditor::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Leave) viewport()->setCursor(Qt::IBeamCursor);
    return QAbstractScrollArea::viewportEvent(event);
}

void TEditor::mousePressEvent(QMouseEvent* event) {
    commitComposition();
    if (event->button() == Qt::MiddleButton && platform::hasPrimarySelection()) {
        const Cell cell = cellAt(event->position().toPoint());
        pastePrimaryAt(cell.row, cell.col);
        return;
    }
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    const QPoint pos = event->position().toPoint();
    const Cell cell = cellAt(pos);
    if (m_sinceDoubleClick.isValid() && m_sinceDoubleClick.elapsed() < QApplication::doubleClickInterval() &&
        (pos - m_doubleClickPoint).manhattanLength() < QApplication::startDragDistance() &&
        pos.x() >= leftbarPixels()) {
        m_sinceDoubleClick.invalidate();
        selectLineAt(cell.row);
        return;
    }
    m_buttonDown = true;
    m_model.setMouseSelecting(true);
    m_pressPoint = pos;
    m_pressCell = cell;
    m_rowSelecting = false;
    m_drag = DragState::None;
    if (event->modifiers() & Qt::ShiftModifier) {
        m_model.setCaret({cell.row, cell.col}, true);
        return;
    }
    if (canDragSelection() && pos.x() >= leftbarPixels() && insideSelection(cell.row, cell.col)) {
        m_drag = DragState::Pending;
        return;
    }
    if (pos.x() < leftbarPixels() && m_caretOptions.RowSelect) {
        m_rowSelecting = true;
        m_rowSelectAnchor = cell.row;
        const bool last = cell.row + 1 >= m_model.RowCount();
        const TextPosition end = last ? TextPosition{cell.row, m_model.rowColumns(cell.row)}
                                      : TextPosition{cell.row + 1, 0};
        if (last && m_model.RowCount() > 0 && m_model.rowKind(cell.row) == BreakKind::LineBreak) {
            m_model.select({cell.row, 0}, {cell.row + 1, 0});
        } else {
            m_model.select({cell.row, 0}, end);
        }
        return;
    }
    m_model.setCaret({cell.row, cell.col});
}

void TEditor::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (!m_buttonDown) {
        updateHoverCursor(pos);
        return;
    }
    const Cell cell = cellAt(pos);
    const int threshold = m_cellWidth / 2;
    const bool beyondThreshold = std::abs(pos.x() - m_pressPoint.x()) >= threshold ||
                                 std::abs(pos.y() - m_pressPoint.y()) >= threshold;
    if (m_drag == DragState::Pending && beyondThreshold) {
        m_drag = DragState::Dragging;
    }
    if (m_drag == DragState::Dragging) {
        viewport()->setCursor((event->modifiers() & Qt::ControlModifier) ? Qt::DragCopyCursor : Qt::DragMoveCursor);
        m_pressCell = cell;  // the drop point
        m_model.SetTopRow(std::min(m_model.TopRow(), cell.row));
        viewport()->update();
        return;
    }
    if (m_drag == DragState::Pending) return;
    if (m_rowSelecting) {
        const int a = m_rowSelectAnchor;
        if (cell.row >= a) {
            m_model.select({a, 0}, {std::min(cell.row + 1, m_model.lastCaretRow()), 0});
        } else {
            m_model.select({a + 1, 0}, {cell.row, 0});
        }
    } else if (m_model.hasSelection()) {
        m_model.setCaret({cell.row, cell.col}, true);
    } else if (beyondThreshold) {
        m_model.select({m_pressCell.row, m_pressCell.col}, {cell.row, cell.col});
    }
    m_model.scrollToCaret();
}

void TEditor::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_buttonDown) return;
    m_buttonDown = false;
    m_model.setMouseSelecting(false);
    const QPoint pos = event->position().toPoint();
    if (m_drag == DragState::Dragging) {
        m_drag = DragState::None;
        const Cell drop = cellAt(pos);
        if (!viewport()->rect().contains(pos) || insideSelection(drop.row, drop.col)) {
            m_model.clearSelection();
        } else {
            m_model.moveSelectionTo({drop.row, drop.col}, event->modifiers() & Qt::ControlModifier);
        }
        updateHoverCursor(pos);
        return;
    }
    schedulePrimary();
    bool defaultCursor = false;
    if (m_drag == DragState::Pending) {
        m_drag = DragState::None;
        m_model.setCaret({m_pressCell.row, m_pressCell.col});
        defaultCursor = m_escHeld;
    }
    const bool plainClick = !m_model.hasSelection() && !m_rowSelecting;
    m_rowSelecting = false;
    if (plainClick) {
        if (const auto token = tokenAt(pos); token && token->first == TokenKind::Url && m_openLink) {
            m_openLink(QString::fromLatin1(token->second.c_str()));
        }
    }
    if (defaultCursor) {
        viewport()->setCursor(Qt::IBeamCursor);
    } else {
        updateHoverCursor(pos);
    }
}

void TEditor::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && !event->isAutoRepeat()) m_escHeld = false;
    QAbstractScrollArea::keyReleaseEvent(event);
}

void TEditor::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (event->button() != Qt::LeftButton || pos.x() < leftbarPixels() || pos.y() < rulerPixels() ||
        (event->modifiers() & Qt::ShiftModifier)) {
        mousePressEvent(event);
        return;
    }
    // The press of the first click already placed the caret; this one
    // selects and starts no drag.
    m_buttonDown = false;
    m_model.setMouseSelecting(false);
    m_drag = DragState::None;
    m_rowSelecting = false;
    m_sinceDoubleClick.start();
    m_doubleClickPoint = pos;
    const Cell cell = cellAt(pos);
    if (cell.row >= m_model.RowCount()) return;
    const int line = m_model.LineIndexOfRow(cell.row);
    const std::string text = m_model.Lines().Get(line);
    const auto [begin, end] = wordRangeAt(text, lineByteOfCell(line, cell));
    if (begin == end) return;
    m_model.select(positionOfLineByte(line, begin), positionOfLineByte(line, end));
}

namespace {

bool isDroppedText(const QMimeData* data) {
    return data != nullptr && data->hasText() && !data->hasUrls();
}

}  // namespace

void TEditor::dragEnterEvent(QDragEnterEvent* event) {
    if (isDroppedText(event->mimeData())) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void TEditor::dragMoveEvent(QDragMoveEvent* event) {
    if (!isDroppedText(event->mimeData())) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
}

void TEditor::dropEvent(QDropEvent* event) {
    if (!isDroppedText(event->mimeData())) {
        event->ignore();
        return;
    }
    commitComposition();
    const std::optional<platform::ClipboardText> text = platform::textOfMimeData(event->mimeData());
    event->acceptProposedAction();
    if (!text || text->sjis.empty()) return;
    const Cell cell = cellAt(event->position().toPoint());
    m_model.setCaret({cell.row, cell.col});
    pasteText(*text);
}

void TEditor::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
    updateInputMethod();
}

void TEditor::focusOutEvent(QFocusEvent* event) {
    commitComposition();
    QAbstractScrollArea::focusOutEvent(event);
    // A release the editor never sees (another window took the mouse) ends
    // the gesture here.
    if (m_buttonDown) {
        m_buttonDown = false;
        m_drag = DragState::None;
        m_rowSelecting = false;
        m_model.setMouseSelecting(false);
    }
    m_escHeld = false;
    viewport()->update();
}

// ---------------------------------------------------------------- painting

int TEditor::bracketAtLineStart(int line) const {
    if (m_brackets.empty() || line <= 0) return -1;
    if (m_lineBrackets.empty()) m_lineBrackets.push_back(-1);
    const TokenizerContext ctx{m_viewInfo, m_brackets, m_reserved};
    std::vector<Token> scratch;
    while (static_cast<int>(m_lineBrackets.size()) <= line) {
        const int i = static_cast<int>(m_lineBrackets.size()) - 1;
        scratch.clear();
        m_lineBrackets.push_back(tokenizeLine(m_model.Lines().Get(i), m_lineBrackets.back(), ctx, scratch));
    }
    return m_lineBrackets[static_cast<std::size_t>(line)];
}

const std::vector<Token>& TEditor::lineTokens(int line) const {
    if (line != m_tokensLine) {
        m_tokens.clear();
        m_matches.clear();
        const TokenizerContext ctx{m_viewInfo, m_brackets, m_reserved};
        const std::string text = m_model.Lines().Get(line);
        tokenizeLine(text, bracketAtLineStart(line), ctx, m_tokens);
        if (m_matchFinder) m_matchFinder(text, m_matches);
        m_tokensLine = line;
    }
    return m_tokens;
}

void TEditor::setMatchFinder(MatchFinder finder) {
    m_matchFinder = std::move(finder);
    m_tokensLine = -1;
    viewport()->update();
}

void TEditor::setVerticalLines(std::vector<TVerticalLine> lines) {
    m_verticalLines = std::move(lines);
    viewport()->update();
}

void TEditor::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    p.fillRect(viewport()->rect(), m_background);
    p.setFont(font());
    const int first = m_model.TopRow();
    const int last = std::min(m_model.RowCount() - 1, first + m_model.VisibleRows() + 1);
    const int top = rulerPixels();
    p.setClipRect(QRect(textLeft() - kLeftMargin, top, viewport()->width(), viewport()->height() - top));
    const TextPosition caret = m_model.caret();
    // In insert mode the pre-edit pushes the rest of its row aside, as the
    // committed text will; in overwrite mode it covers what it will replace.
    const int preeditShift = m_model.OverwriteMode() ? 0 : m_preedit.columns() * m_cellWidth;
    for (int row = first; row <= last; ++row) {
        const int y = top + (row - first) * m_rowHeight;
        if (row != caret.row || preeditShift == 0) {
            paintRow(p, row, y);
            continue;
        }
        const int x = pointOf(caret.row, caret.col).x();
        p.save();
        p.setClipRect(QRect(0, y, x, m_rowHeight), Qt::IntersectClip);
        paintRow(p, row, y);
        p.restore();
        p.save();
        p.setClipRect(QRect(x + preeditShift, y, viewport()->width(), m_rowHeight), Qt::IntersectClip);
        p.translate(preeditShift, 0);
        paintRow(p, row, y);
        p.restore();
    }
    for (const TVerticalLine& line : m_verticalLines) {
        if (!line.Visible) continue;
        const int x = textLeft() + (line.Position - m_leftColumn) * m_cellWidth;
        p.fillRect(QRect(x, top, 1, viewport()->height() - top), line.Color);
    }

    const bool caretVisible = caret.row >= first && caret.row <= first + m_model.VisibleRows();
    if (m_marks.Underline.Visible && caretVisible && !m_model.updating()) {
        const int y = top + (caret.row - first + 1) * m_rowHeight - 1;
        p.fillRect(QRect(textLeft(), y, viewport()->width(), 1), toQColor(m_marks.Underline.Color));
    }
    if (m_drag == DragState::Dragging) {
        const QPoint at = pointOf(m_pressCell.row, m_pressCell.col);
        p.fillRect(QRect(at, QSize(2, m_rowHeight)), Qt::darkGray);
    }
    if (!m_preedit.empty() && caretVisible) paintPreedit(p, pointOf(caret.row, caret.col));
    // The caret: a bar, or a block in overwrite mode; within a pre-edit at
    // the input method's cursor.
    if (hasFocus() && caretVisible && !m_preedit.empty()) {
        if (m_preedit.cursorVisible) {
            const QPoint at = pointOf(caret.row, caret.col + m_preedit.columnsBefore(m_preedit.cursor));
            p.fillRect(QRect(at, QSize(2, m_rowHeight)), Qt::black);
        }
    } else if (hasFocus() && caretVisible) {
        const QPoint at = pointOf(caret.row, caret.col);
        if (m_model.OverwriteMode()) {
            p.fillRect(QRect(at, QSize(m_cellWidth, m_rowHeight)), QColor(0, 0, 0, 96));
        } else {
            p.fillRect(QRect(at, QSize(2, m_rowHeight)), Qt::black);
        }
    }
    p.setClipping(false);
    if (m_leftbar.Visible) paintLeftbar(p);
    if (m_ruler.Visible) paintRuler(p);
}

// Each character of the pre-edit in its cells, with its clause's format:
// the background and text colours, the weight, and the underline style and
// colour. An underline stops one pixel short of its clause's end so that
// the clauses stand apart; a pre-edit without formats is underlined whole.
void TEditor::paintPreedit(QPainter& p, QPoint at) {
    const QColor text = palette().color(QPalette::Text);
    const int baseline = at.y() + m_ascent;
    const int underlineY = std::min(at.y() + m_rowHeight - 1, baseline + 2);
    p.fillRect(QRect(at, QSize(m_preedit.columns() * m_cellWidth, m_rowHeight)), m_background);
    const QString& s = m_preedit.text;
    for (int i = 0; i < s.size(); ++i) {
        if (s.at(i).isLowSurrogate()) continue;
        const int length = s.at(i).isHighSurrogate() && i + 1 < s.size() ? 2 : 1;
        const int x = at.x() + m_preedit.columnsBefore(i) * m_cellWidth;
        const int width = (m_preedit.columnsBefore(i + length) - m_preedit.columnsBefore(i)) * m_cellWidth;
        const QTextCharFormat f = m_preedit.formatAt(i);
        if (f.background().style() != Qt::NoBrush) p.fillRect(QRect(x, at.y(), width, m_rowHeight), f.background());
        const QColor fg = f.foreground().style() != Qt::NoBrush ? f.foreground().color() : text;
        QFont glyphFont = font();
        if (f.hasProperty(QTextFormat::FontWeight)) glyphFont.setWeight(f.font().weight());
        p.setFont(glyphFont);
        p.setPen(fg);
        p.drawText(x, baseline, s.mid(i, length));

        QTextCharFormat::UnderlineStyle style = f.underlineStyle();
        if (m_preedit.clauses.isEmpty()) style = QTextCharFormat::SingleUnderline;
        if (style == QTextCharFormat::NoUnderline) continue;
        const QColor lineColor = f.underlineColor().isValid() ? f.underlineColor() : fg;
        // The last cell of a clause leaves a gap before the next one.
        bool clauseEnds = i + length >= s.size();
        for (const Preedit::Clause& c : m_preedit.clauses) {
            if (c.start + c.length == i + length) clauseEnds = true;
        }
        const int right = x + width - (clauseEnds ? 2 : 1);
        QPen pen(lineColor);
        pen.setWidth(1);
        switch (style) {
        case QTextCharFormat::DashUnderline: pen.setStyle(Qt::DashLine); break;
        case QTextCharFormat::DotLine: pen.setStyle(Qt::DotLine); break;
        case QTextCharFormat::DashDotLine: pen.setStyle(Qt::DashDotLine); break;
        case QTextCharFormat::DashDotDotLine: pen.setStyle(Qt::DashDotDotLine); break;
        default: break;
        }
        p.setPen(pen);
        if (style == QTextCharFormat::WaveUnderline || style == QTextCharFormat::SpellCheckUnderline) {
            for (int wx = x; wx < right; wx += 2) p.drawLine(wx, underlineY - 1, std::min(wx + 1, right), underlineY + 1);
        } else {
            p.drawLine(x, underlineY, right, underlineY);
        }
    }
    p.setFont(font());
}

void TEditor::paintRow(QPainter& p, int row, int y) {
    const std::string_view text = m_model.rowText(row);
    const int tab = m_model.TabSpaceCount();
    const int wrap = m_model.columnWrapWidth();
    const auto& codec = sjis::SjisCodec::instance();
    const TEditorColors& colors = m_viewInfo.Colors;
    const int x0 = textLeft() - m_leftColumn * m_cellWidth;

    // Selected columns of this row: [selFrom, selTo).
    int selFrom = 0;
    int selTo = 0;
    if (m_model.hasSelection()) {
        if (m_model.BoxMode()) {
            const EditorModel::Box b = m_model.box();
            if (row >= b.top && row <= b.bottom) {
                selFrom = b.left;
                selTo = b.right;
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
        p.fillRect(QRect(x0 + selFrom * m_cellWidth, y, (selTo - selFrom) * m_cellWidth, m_rowHeight),
                   toQColor(colors.Select.BkColor));
    }

    // Tokens of the row's line, and where the row starts in it.
    const int line = m_model.LineIndexOfRow(row);
    std::size_t rowStart = 0;
    if (m_model.WordWrap()) {
        for (int r = m_model.firstRowOfLine(line); r < row; ++r) rowStart += m_model.rowText(r).size();
    }
    const std::vector<Token>& tokens = lineTokens(line);
    std::size_t tokenIndex = 0;
    std::size_t matchIndex = 0;
    const TEditorColor& findColor = m_exMarks.FindColor;
    const bool quoted = m_exMarks.Quotation.Visible && !m_exMarks.QuoteChar.empty() &&
                        std::string_view(text).substr(0, m_exMarks.QuoteChar.size()) == m_exMarks.QuoteChar;

    const int visibleEnd = m_leftColumn + m_model.VisibleColumns() + 2;
    const std::size_t drawnBytes = std::min<std::size_t>(text.size(), 1000);
    // The run of glyphs drawn together: one colour and style, each glyph at
    // its own cell.
    std::vector<quint32> runGlyphs;
    std::vector<QPointF> runPositions;
    QColor runColor;
    FontStyle runStyle;
    int painterFont = -1;  // the styled font last set on the painter
    auto flush = [&] {
        if (runGlyphs.empty()) return;
        const QRawFont& font = m_cellGlyphs.rawFont(styleIndex(runStyle));
        QGlyphRun glyphs;
        glyphs.setRawFont(font);
        glyphs.setRawData(runGlyphs.data(), runPositions.data(), static_cast<int>(runGlyphs.size()));
        if (p.pen().color() != runColor) p.setPen(runColor);
        p.drawGlyphRun(QPointF(), glyphs);
        if (runStyle.underline) underlineCells(p, font, runGlyphs, runPositions);
        runGlyphs.clear();
        runPositions.clear();
    };
    const QColor textColor = palette().color(QPalette::Text);
    int col = 0;
    std::size_t pos = 0;
    for (; pos < drawnBytes && col < visibleEnd;) {
        const std::size_t len = charLengthAt(text, pos);
        const auto b = static_cast<unsigned char>(text[pos]);
        int width = len == 2 ? 2 : 1;
        if (b == '\t') {
            int stop = (col / tab + 1) * tab;
            if (wrap > 0) stop = std::min(stop, (col / wrap + 1) * wrap);
            width = stop - col;
        }
        const std::size_t lineByte = rowStart + pos;
        while (tokenIndex < tokens.size() && tokens[tokenIndex].end <= lineByte) ++tokenIndex;
        const Token* token = tokenIndex < tokens.size() && tokens[tokenIndex].begin <= lineByte ? &tokens[tokenIndex]
                                                                                             : nullptr;
        const bool selected = col >= selFrom && col < selTo;
        QColor fg = textColor;
        QColor bg;
        FontStyle style;
        if (token && token->kind == TokenKind::Bracket && token->bracket >= 0 && token->bracket < m_brackets.Count()) {
            const TEditorColor& c = m_brackets[token->bracket].ItemColor;
            fg = toQColor(c.Color);
            bg = toQColor(c.BkColor);
            style = c.Style;
        } else if (const TEditorColor* c = token ? colorOf(colors, *token) : nullptr) {
            fg = toQColor(c->Color);
            if (c->BkColor != colors::kWindow) bg = toQColor(c->BkColor);
            style = c->Style;
        }
        if (quoted) fg = toQColor(m_exMarks.Quotation.Color);
        if (selected) fg = toQColor(colors.Select.Color);
        while (matchIndex < m_matches.size() && m_matches[matchIndex].second <= lineByte) ++matchIndex;
        const bool found = matchIndex < m_matches.size() && m_matches[matchIndex].first <= lineByte;
        if (found) {
            fg = toQColor(selected ? findColor.BkColor : findColor.Color);
            bg = toQColor(selected ? findColor.Color : findColor.BkColor);
            style = findColor.Style;
        }
        if (col + width > m_leftColumn) {
            const int x = x0 + col * m_cellWidth;
            if (bg.isValid() && (!selected || found)) p.fillRect(QRect(x, y, width * m_cellWidth, m_rowHeight), bg);
            const bool dbSpace = len == 2 && b == 0x81 && static_cast<unsigned char>(text[pos + 1]) == 0x40;
            if (b == '\t') {
                flush();
                if (m_exMarks.TabMark.Visible) {
                    p.setPen(toQColor(m_exMarks.TabMark.Color));
                    const int mid = y + m_rowHeight / 2;
                    const int right = x + m_cellWidth - 1;
                    p.drawLine(x + 1, mid, right, mid);
                    p.drawLine(right - 3, mid - 3, right, mid);
                    p.drawLine(right - 3, mid + 3, right, mid);
                }
            } else if (dbSpace) {
                flush();
                if (m_exMarks.DBSpaceMark.Visible) {
                    p.setFont(font());
                    painterFont = 0;
                    p.setPen(toQColor(m_exMarks.DBSpaceMark.Color));
                    p.drawText(x, y + m_ascent, QString(QChar(0x25A1)));
                }
            } else {
                const unsigned code = len == 2 ? (b << 8) | static_cast<unsigned char>(text[pos + 1]) : b;
                QChar ch(codec.charToUtf16(code));
                if (!ch.isPrint()) ch = QChar(0xFFFD);
                if (fg != runColor || !(style == runStyle)) flush();
                const int fontIndex = styleIndex(style);
                const quint32 glyph = m_cellGlyphs.glyph(fontIndex, ch.unicode());
                if (glyph == 0) {
                    // Not in the editor's font: the painter finds a font that has it.
                    flush();
                    if (fontIndex != painterFont) {
                        p.setFont(m_styledFonts[static_cast<std::size_t>(fontIndex)]);
                        painterFont = fontIndex;
                    }
                    if (p.pen().color() != fg) p.setPen(fg);
                    p.drawText(x, y + m_ascent, QString(ch));
                } else {
                    if (runGlyphs.empty()) {
                        runColor = fg;
                        runStyle = style;
                    }
                    runGlyphs.push_back(glyph);
                    runPositions.emplace_back(x, y + m_ascent);
                }
            }
        }
        col += width;
        pos += len;
    }
    flush();
    if (pos >= text.size() && col < visibleEnd) {
        const int x = x0 + col * m_cellWidth;
        const BreakKind kind = m_model.rowKind(row);
        if (kind == BreakKind::LineBreak && m_marks.RetMark.Visible) {
            p.setPen(toQColor(m_marks.RetMark.Color));
            const int cx = x + m_cellWidth / 2;
            const int top = y + 6;
            const int bottom = y + m_rowHeight - 4;
            p.drawLine(cx, top, cx, bottom);
            p.drawLine(cx - 3, bottom - 3, cx, bottom);
            p.drawLine(cx + 3, bottom - 3, cx, bottom);
        } else if (kind == BreakKind::EndOfText && m_marks.EofMark.Visible) {
            p.setFont(font());
            p.setPen(toQColor(m_marks.EofMark.Color));
            p.drawText(x, y + m_ascent, QStringLiteral("[EOF]"));
        }
    }
    if (col > m_widestColumns) {
        m_widestColumns = col;
        updateScrollBars();
    }
}

// The underline of each glyph, as the painter draws it under a character of
// an underlined font: a stroke of the font's line thickness from the glyph's
// start to its advance, below the baseline by the font's underline position
// rounded up, kept within the descent.
void TEditor::underlineCells(QPainter& p, const QRawFont& font, const std::vector<quint32>& glyphs,
                             const std::vector<QPointF>& positions) const {
    std::vector<QPointF> advances(glyphs.size());
    font.advancesForGlyphIndexes(glyphs.data(), advances.data(), static_cast<int>(glyphs.size()));
    const qreal position = font.underlinePosition();
    const qreal descent = font.descent();
    qreal offset = std::ceil(position) + 0.5;
    if (position <= descent) offset = std::min(offset, descent - 0.5);
    const QPen textPen = p.pen();
    QPen pen = textPen;
    pen.setStyle(Qt::SolidLine);
    pen.setWidthF(font.lineThickness());
    pen.setCapStyle(Qt::FlatCap);
    p.setPen(pen);
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        const QPointF& at = positions[i];
        const qreal y = at.y() + offset;
        p.drawLine(QLineF(std::floor(at.x()), y, std::floor(at.x() + advances[i].x()), y));
    }
    p.setPen(textPen);
}

void TEditor::paintLeftbar(QPainter& p) {
    const int digits = leftbarDigits(m_leftbar, m_model);
    const int width = leftbarWidth(m_leftbar, digits, m_cellWidth);
    const int top = rulerPixels();
    p.fillRect(QRect(0, 0, width, viewport()->height()), toQColor(m_leftbar.BkColor));
    if (m_leftbar.Edge) {
        p.fillRect(QRect(width - 2, 0, 1, viewport()->height()), palette().color(QPalette::Mid));
        p.fillRect(QRect(width - 1, 0, 1, viewport()->height()), palette().color(QPalette::Light));
    }
    p.setFont(font());
    p.setPen(toQColor(m_leftbar.Color));
    const int first = m_model.TopRow();
    for (int i = 0; i <= m_model.VisibleRows(); ++i) {
        const int row = first + i;
        const auto number = leftbarNumber(m_leftbar, m_model, row);
        if (!number) continue;
        p.drawText(m_leftbar.LeftMargin, top + i * m_rowHeight + m_ascent,
                   QString::fromStdString(formatLeftbarNumber(m_leftbar, *number, digits)));
    }
}

void TEditor::paintRuler(QPainter& p) {
    const int height = rulerPixels();
    const int left = leftbarPixels();
    const int width = viewport()->width();
    p.fillRect(QRect(0, 0, width, height), toQColor(m_ruler.BkColor));
    const QColor tick = toQColor(m_ruler.Color);
    const int bottom = m_ruler.Edge ? height - 2 : height - 1;
    const int range = m_ruler.GaugeRange;
    // The caret's column: its cell in the mark colour, the ruler's colours exchanged.
    const int caretX = textLeft() + (m_model.Col() - m_leftColumn) * m_cellWidth;
    if (caretX >= textLeft()) p.fillRect(QRect(caretX, 0, m_cellWidth, bottom), toQColor(m_ruler.MarkColor));
    QFont small = font();
    small.setPixelSize(8);
    p.setFont(small);
    for (int col = m_leftColumn; textLeft() + (col - m_leftColumn) * m_cellWidth < width; ++col) {
        const int x = textLeft() + (col - m_leftColumn) * m_cellWidth;
        const bool onCaret = col == m_model.Col();
        p.setPen(onCaret ? toQColor(m_ruler.BkColor) : tick);
        int from = 6;
        if (col % range == 0) {
            from = 0;
        } else if (col % range == range / 2) {
            from = 3;
        }
        p.drawLine(x, from, x, bottom);
        if (col % range == 0 && col > 0) {
            p.setPen(tick);
            p.drawText(x + 2, 8, QString::number(col));
        }
    }
    if (m_ruler.Edge) {
        p.fillRect(QRect(left, height - 2, width - left, 1), palette().color(QPalette::Mid));
        p.fillRect(QRect(left, height - 1, width - left, 1), palette().color(QPalette::Light));
    } else {
        p.fillRect(QRect(left, height - 1, width - left, 1), tick);
    }
}

}  // namespace tabulo::editor
