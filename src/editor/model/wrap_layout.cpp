#include "editor/model/wrap_layout.h"

#include <algorithm>

#include "editor/model/column_classes.h"
#include "sjis/sjis_char.h"

namespace tabulo::editor {

using sjis::charLengthAt;
namespace {

// True when the character of `text` at byte `pos` is one of the characters of `list`.
bool inCharList(std::string_view text, std::size_t pos, std::string_view list) {
    const std::size_t len = charLengthAt(text, pos);
    for (std::size_t i = 0; i < list.size();) {
        const std::size_t itemLen = charLengthAt(list, i);
        if (itemLen == len && list.compare(i, len, text.substr(pos, len)) == 0) return true;
        i += itemLen;
    }
    return false;
}

// Columns are 0-based here; `cur` is the last column of the row being built.
class LineWrapper {
public:
    LineWrapper(std::string_view line, const TEditorWrapOption& o, int tabSize)
        : m_line(line), m_o(o), m_w(std::max(1, o.WrapByte)),
          m_map(columnMap(line, tabSize, m_w)), m_n(m_map.columns()) {}

    std::vector<WrappedRow> rows() {
        std::vector<WrappedRow> out;
        if (m_n < m_w) {
            out.push_back({0, m_line.size(), true});
            return out;
        }
        int s = 0;
        for (;;) {
            int cur = std::min(s + m_w - 1, m_n);
            if (cur == m_n) {  // the rest fits
                if (s < m_n) {
                    out.push_back({byteStart(s), m_line.size(), true});
                } else if (m_o.FollowRetMark) {
                    out.back().lineEnd = true;
                } else {
                    out.push_back({m_line.size(), m_line.size(), true});
                }
                return out;
            }
            if (cls(cur) == kLeadColumn) {
                --cur;
            } else if (m_o.WordBreak && m_n - s > m_w) {
                const int original = cur;
                // The width test comes first: it keeps cur inside the row, so
                // cls never looks before the line's first column.
                while (width(s, cur) > m_w / 3 && !isBreakColumn(cls(cur))) cur = stepBack(cur);
                if (cur < s) cur = original;
            }
            if (m_o.FollowPunctuation) {
                while (width(s, cur) < m_w + 2 && startsChar(cur + 1) &&
                       inCharList(m_line, byteStart(cur + 1), m_o.PunctuationStr)) {
                    cur += cls(cur + 1) == kLeadColumn ? 2 : 1;
                }
            }
            if (m_o.Leading && cur + 1 < m_n) applyLeadingRules(s, cur);
            if (cur < s) cur = cls(s) == kLeadColumn ? s + 1 : s;  // a row holds at least one character
            out.push_back({byteStart(s), byteEnd(cur), false});
            s = cur + 1;
            while (cls(s) == kTabPadding) ++s;  // a tab whose padding crosses the row end stays whole
        }
    }

private:
    char cls(int col) const { return col >= m_n ? static_cast<char>(kEndMarker) : m_map.classes[static_cast<std::size_t>(col)]; }
    static bool isBreakColumn(char c) { return c == kDelimiter || c == kTabPadding || c == kTrailColumn; }
    static int width(int s, int cur) { return cur - s + 1; }
    bool startsChar(int col) const {
        const char c = cls(col);
        return c == kSingle || c == kDelimiter || c == kLeadColumn;
    }
    std::size_t byteStart(int col) const { return m_map.byteAt[std::min(col, m_n)]; }
    // Byte just past the character that covers column `col`.
    std::size_t byteEnd(int col) const {
        const std::size_t b = m_map.byteAt[col];
        return b + charLengthAt(m_line, b);
    }
    int stepBack(int cur) const {
        if (cls(cur) == kTrailColumn) return cur - 2;
        while (cur > 0 && cls(cur) == kTabPadding) --cur;
        return cur - 1;
    }
    // The last character of the row ending at `cur` is in `list` (a tab never is).
    bool lastCharIn(int cur, std::string_view list) const {
        if (cur < 0 || cls(cur) == kTabPadding) return false;
        const int start = cls(cur) == kTrailColumn ? cur - 1 : cur;
        return inCharList(m_line, byteStart(start), list);
    }
    bool nextCharIn(int cur, std::string_view list) const {
        return startsChar(cur + 1) && inCharList(m_line, byteStart(cur + 1), list);
    }
    void applyLeadingRules(int s, int& cur) const {
        const int limit = (m_w / 5) * 4;
        while (width(s, cur) > limit && lastCharIn(cur, m_o.LeadStr)) cur = stepBack(cur);
        if (m_n - (cur + 1) >= 2 && nextCharIn(cur, m_o.FollowStr)) {
            while (width(s, cur) > limit &&
                   (lastCharIn(cur, m_o.LeadStr) || nextCharIn(cur, m_o.FollowStr))) {
                cur = stepBack(cur);
            }
        }
    }

    std::string_view m_line;
    const TEditorWrapOption& m_o;
    int m_w;
    ColumnMap m_map;
    int m_n;
};

}  // namespace

std::vector<WrappedRow> wrapLine(std::string_view line, const TEditorWrapOption& options,
                                 int tabSize) {
    const int w = std::max(1, options.WrapByte);
    // Most lines are shorter than the wrap width: measure before building the map.
    if (line.size() < static_cast<std::size_t>(w) || columnCount(line, tabSize, w) < w) {
        return {{0, line.size(), true}};
    }
    return LineWrapper(line, options, tabSize).rows();
}

int wrappedRowCount(std::string_view line, const TEditorWrapOption& options, int tabSize) {
    return static_cast<int>(wrapLine(line, options, tabSize).size());
}

}  // namespace tabulo::editor
