// The editor's document: its rows and logical lines, the caret, the
// selection, the flags and the soft-wrap state. Every command of the program
// reads and changes text through this class; the editor widget paints it and
// translates input into calls on it. No toolkit code: it is tested on its own.
//
// Position words: a byte position is a count of bytes within a row or line;
// a column is a display cell (double-byte characters take two, tabs expand);
// a row is a display row; a line is a logical line; an offset counts bytes
// from the start of the text with every line-break row end counting 2 and
// every wrap row end 0.
#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "editor/model/editor_screen_strings.h"
#include "editor/model/editor_strings.h"
#include "editor/model/editor_wrap_option.h"
#include "editor/model/file_encoding.h"
#include "editor/model/line_break_style.h"
#include "editor/model/text_lines.h"
#include "os/files/safe_save.h"
#include "editor/model/undo_history.h"

namespace tabulo::editor {

struct TextPosition {
    int row = 0;
    int col = 0;  // column
    auto operator<=>(const TextPosition&) const = default;
};

// What changed, for observers (the widget repaints, the main window refreshes).
enum class ModelChange { Text, Caret, Selection, Flags, Layout };

class EditorModel {
public:
    EditorModel();
    EditorModel(const EditorModel&) = delete;
    EditorModel& operator=(const EditorModel&) = delete;

    // --- text --------------------------------------------------------------
    TEditorStrings& Lines() { return m_lines; }
    const TEditorStrings& Lines() const { return m_lines; }
    void SetTextStr(std::string_view text);
    std::string GetTextStr() const;
    // Changes with every change of the text, so that a copy of it can tell
    // whether it is still the document's.
    std::uint64_t textVersion() const { return m_textVersion; }
    // Replaces the text with the file's lines; the file is read whole into
    // one buffer that the rows point into until they are edited. The document
    // takes the file's line-break convention. The text is left
    // as it was when the file cannot be read.
    FileReadReport LoadFromFile(const std::string& path);
    // Replaces the text the way a load does, from memory: no history step,
    // not modified, a last line without a break stays without one, and the
    // line-break convention and file encoding stay as they are. For a text
    // converted right after it was loaded.
    void LoadFromText(std::string_view text);
    // Writes fileText() the safe way (os::saveFileBytes): never a
    // half-written file, links, mode and owner kept. Throws
    // std::runtime_error with the reason.
    void SaveToFile(const std::string& path, const os::SaveOptions& options = {}) const;
    // The text as a file holds it: like GetTextStr(), with the document's
    // line-break convention.
    std::string fileText() const;
    LineBreakStyle lineBreakStyle() const { return m_lineBreak; }
    void setLineBreakStyle(LineBreakStyle style);
    // Shift-JIS after every load; the window sets UTF-8 when it converted
    // the loaded text from UTF-8.
    FileEncoding fileEncoding() const { return m_fileEncoding; }
    void setFileEncoding(FileEncoding encoding);
    std::int64_t textLength() const;  // offset units

    // --- rows --------------------------------------------------------------
    int RowCount() const { return m_rows.count(); }
    // Valid until the text changes.
    std::string_view rowText(int row) const { return m_rows.text(row); }
    BreakKind rowKind(int row) const { return m_rows.kind(row); }
    const TEditorScreenStrings& screenRows() const { return m_rows; }
    int rowColumns(int row) const;  // display columns of a row (0 for a row that does not exist)
    int LineIndexOfRow(int row) const;
    int firstRowOfLine(int line) const;  // RowCount() for line == line count
    int rowCountOfLine(int line) const;
    // Highest row the caret may stand on: the empty row after a final line
    // break counts; an empty document has row 0.
    int lastCaretRow() const;

    // --- offsets -----------------------------------------------------------
    std::int64_t offsetOfRow(int row) const;  // -1 when the row does not exist
    int rowOfOffset(std::int64_t offset) const;
    std::int64_t offsetOfPosition(TextPosition p) const;
    TextPosition positionOfOffset(std::int64_t offset) const;

    // --- caret and selection ----------------------------------------------
    int Row() const { return m_caret.row; }
    int Col() const { return m_caret.col; }
    TextPosition caret() const { return m_caret; }
    void SetRow(int row);  // clamped; keeps the column
    void SetCol(int col);  // clamped at 0
    void setCaret(TextPosition p, bool extendSelection = false);
    bool hasSelection() const { return m_hasSelection; }
    TextPosition anchor() const { return m_anchor; }
    // Selection ends in normal mode, each clipped to its row: start <= end.
    TextPosition selectionStart() const;
    TextPosition selectionEnd() const;  // exclusive
    void select(TextPosition anchor, TextPosition caret);
    void clearSelection();
    std::int64_t SelStart() const;
    std::int64_t SelLength() const;
    void SetSelStart(std::int64_t offset);
    void SetSelLength(std::int64_t length);
    void SelectAll();
    std::string SelectedText() const;
    // Replaces the selection with text that may hold line breaks (a box
    // selection loses its slices and the text goes to the box's left edge of
    // its first row); the caret ends after it. Without a selection the text
    // goes in at the caret, the row first filled with spaces up to it. One
    // step of the history.
    void replaceSelection(std::string_view text);
    // Replaces the text from `from` to `to` (normal positions, each clipped
    // to its row) with `text`; a start beyond its row's end is first reached
    // with spaces. The caret ends after the text; one step of the history.
    void replaceRange(TextPosition from, TextPosition to, std::string_view text);
    // Removes the selected text (box mode: every row's slice); one step.
    void deleteSelection();
    // Inserts the lines of `text` as a block: line j goes into row
    // first + j at the insertion column (the caret's, or a box selection's
    // left edge after its slices are removed), rows shorter than that column
    // are filled with spaces and missing rows are added. One step.
    void pasteBox(std::string_view text);

    // Box geometry of the current selection: rows top..bottom, columns
    // [left, right). Meaningful only with a selection in box mode.
    struct Box {
        int top, bottom, left, right;
    };
    Box box() const;
    // Byte range of a row that the box columns [left, right) cover: a
    // double-byte character or tab cut by the left edge is left out, one
    // cut by the right edge is taken whole.
    std::pair<std::size_t, std::size_t> boxSliceOfRow(int row, int left, int right) const;
    // Wrap width used for column counting (0 with soft wrap off).
    int columnWrapWidth() const { return m_wordWrap ? m_wrap.WrapByte : 0; }
    // Byte position of a column within a row (the character covering it).
    std::size_t byteOfRowColumn(int row, int col) const { return byteInRow(row, col); }

    // Rebuilds the logical lines holding rows [firstRow, lastRow] in one
    // replacement: each row of that range is replaced by what `edit` returns
    // for it, the other rows of those lines stay, and `appended` follows
    // the last row's break. Rows from firstRow beyond the text only take
    // `appended`. Returns the first row of the region.
    int rebuildRows(int firstRow, int lastRow, const std::function<std::string(int row)>& edit,
                    std::string_view appended = {});

    // Moves (or with `copy` copies) the normal selection to `drop`, in one
    // replacement; a drop inside the selection only removes the selection.
    void moveSelectionTo(TextPosition drop, bool copy);
    // Text between two normal positions (each clipped to its row).
    std::string textRange(TextPosition from, TextPosition to) const;

    // Lowest logical line changed since the last reset; highlighting states
    // at and after it must be recomputed.
    int changedFromLine() const { return m_changedFromLine; }
    void resetChangedFromLine() { m_changedFromLine = std::numeric_limits<int>::max(); }

    // --- history -------------------------------------------------------------
    bool CanUndo() const { return m_history.canUndo(); }
    bool CanRedo() const { return m_history.canRedo(); }
    void Undo();
    void Redo();
    int UndoListMax() const { return m_history.limit(); }
    void SetUndoListMax(int n) { m_history.setLimit(n); }
    const UndoHistory& history() const { return m_history; }

    // --- view state the widget keeps true ----------------------------------
    int TopRow() const { return m_topRow; }
    void SetTopRow(int row);
    int VisibleRows() const { return m_visibleRows; }
    int VisibleColumns() const { return m_visibleColumns; }
    void setVisibleArea(int rows, int columns);
    void scrollToCaret();

    // --- flags -------------------------------------------------------------
    bool Modified() const { return m_modified; }
    void SetModified(bool on);
    bool BoxMode() const { return m_boxMode; }
    void SetBoxMode(bool on);
    // Set by the widget while the mouse button is held over the text;
    // BoxMode changes are ignored meanwhile.
    void setMouseSelecting(bool on) { m_mouseSelecting = on; }
    bool OverwriteMode() const { return m_overwrite; }
    void SetOverwriteMode(bool on);
    bool AutoIndent() const { return m_autoIndent; }
    void SetAutoIndent(bool on);
    int TabSpaceCount() const { return m_tabSize; }
    void SetTabSpaceCount(int n);

    // --- soft wrap ---------------------------------------------------------
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool on);
    const TEditorWrapOption& WrapOption() const { return m_wrap; }
    void SetWrapOption(const TEditorWrapOption& option);
    // Rows a line of this text would take with the current settings.
    int rowCountOfText(std::string_view line) const;

    // --- updates -----------------------------------------------------------
    void BeginUpdate();
    void EndUpdate();
    bool updating() const { return m_updateDepth > 0; }
    using Observer = std::function<void(ModelChange)>;
    int addObserver(Observer observer);
    void removeObserver(int id);

    // The one primitive every text change goes through: replaces the logical
    // lines [firstLine, firstLine + oldLineCount) by `lines`; the last new
    // line gets `lastBreak` (LineBreak or EndOfText). Wraps the new lines,
    // sets Modified, removes the selection, and records exactly one step of
    // the history. Returns the first row of the replaced region.
    int replaceLines(int firstLine, int oldLineCount, const std::vector<std::string>& lines,
                     BreakKind lastBreak);
    // The same, taking the new lines' bytes over instead of copying them,
    // so that a command replacing a large part of the text holds it once.
    int replaceLines(int firstLine, int oldLineCount, std::vector<std::string>&& lines, BreakKind lastBreak);
    // Removes every row and empties the history.
    void clearAll();

private:
    friend class TEditorStrings;
    std::vector<ScreenRow> makeRows(std::string_view line, BreakKind lastBreak) const;
    // Rows of `text` over one copy of it; a last line without a break ends
    // the text there with keepLastWithoutBreak, and gets a break otherwise.
    TEditorScreenStrings rowsOfText(std::string_view text, bool keepLastWithoutBreak) const;
    // The rows of a line that lies at `begin` in the rows' loaded bytes.
    void pushLoadedLine(TEditorScreenStrings& rows, std::string_view line, std::size_t begin, BreakKind kind) const;
    std::vector<ScreenRow> makeRows(std::string&& line, BreakKind lastBreak) const;
    void rewrapAll();
    int replaceLinesUnrecorded(int firstLine, int oldLineCount, std::vector<std::string> lines,
                               BreakKind lastBreak);
    void spliceCaches(int firstLine, int oldLineCount, int r0, int r1, int newRows);
    void swapStep(UndoRecord record, bool redo);
    // A line's bytes for the history, taken from a line about to be replaced.
    std::string takeLine(int line);
    void replaceWithText(int firstLine, int lastLine, std::string_view combined);
    void invalidateFrom(int row);
    void ensureOffsets(int row) const;
    void ensureLineStarts(int line) const;
    void notify(ModelChange change);
    TextPosition clampPosition(TextPosition p) const;
    std::size_t byteInRow(int row, int col) const;
    TextPosition endPosition() const;

    TEditorScreenStrings m_rows;
    TEditorStrings m_lines;
    TEditorWrapOption m_wrap = TEditorWrapOption::mainWindowDefaults();
    bool m_wordWrap = false;
    int m_tabSize = 4;

    TextPosition m_caret;
    TextPosition m_anchor;
    bool m_hasSelection = false;
    int m_topRow = 0;
    int m_visibleRows = 1;
    int m_visibleColumns = 1;

    LineBreakStyle m_lineBreak = LineBreakStyle::CrLf;
    FileEncoding m_fileEncoding = FileEncoding::ShiftJis;
    std::uint64_t m_textVersion = 0;
    bool m_modified = false;
    bool m_boxMode = false;
    bool m_mouseSelecting = false;
    bool m_overwrite = false;
    bool m_autoIndent = false;
    int m_updateDepth = 0;

    // Caches valid for a prefix of the rows / lines; edits cut them back.
    mutable std::vector<std::int64_t> m_rowOffsets;  // offset of row i; valid entries: size()
    mutable std::vector<int> m_lineStarts;           // first row of line i (soft wrap only)
    mutable bool m_lineStartsComplete = false;

    UndoHistory m_history;
    int m_changedFromLine = 0;

    std::vector<std::pair<int, Observer>> m_observers;
    int m_nextObserverId = 1;
};

}  // namespace tabulo::editor
