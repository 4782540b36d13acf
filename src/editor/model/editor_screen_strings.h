// The editor's text store: display rows, each with its Shift-JIS text and one
// attribute word. The rows are the only copy of the text; logical lines are
// runs of rows (see TEditorStrings).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tabulo::editor {

// Break kind of a row: bits 0-3 of its attribute word.
enum class BreakKind : std::uint8_t {
    LineBreak = 0,  // the row ends its logical line
    Wrapped = 1,    // the line continues on the next row
    EndOfText = 2,  // the last row, with no line break after it
};

struct ScreenRow {
    std::string text;
    // bits 0-3 break kind; 4-7 highlighting state at the row's start plus 2
    // (0 = not yet known); 8-15 token kind continuing from the row before.
    std::uint16_t attr = 0;

    BreakKind kind() const { return static_cast<BreakKind>(attr & 0x0F); }
    void setKind(BreakKind k) { attr = static_cast<std::uint16_t>((attr & ~0x0F) | static_cast<int>(k)); }
    // Forget the highlighting state; it is recomputed when the row is drawn.
    void clearHighlight() { attr &= 0x0F; }
};

class TEditorScreenStrings {
public:
    int count() const { return static_cast<int>(m_rows.size()); }
    bool empty() const { return m_rows.empty(); }
    const ScreenRow& operator[](int row) const { return m_rows[static_cast<std::size_t>(row)]; }
    ScreenRow& operator[](int row) { return m_rows[static_cast<std::size_t>(row)]; }
    const ScreenRow& back() const { return m_rows.back(); }
    ScreenRow& back() { return m_rows.back(); }

    void clear() { m_rows.clear(); }
    void reserve(std::size_t n) { m_rows.reserve(n); }
    void push_back(ScreenRow row) { m_rows.push_back(std::move(row)); }

    // Replaces rows [start, start + oldCount) by `rows`.
    void replace(int start, int oldCount, std::vector<ScreenRow>&& rows);

    std::vector<ScreenRow>& rows() { return m_rows; }
    const std::vector<ScreenRow>& rows() const { return m_rows; }

private:
    std::vector<ScreenRow> m_rows;
};

}  // namespace tabulo::editor
