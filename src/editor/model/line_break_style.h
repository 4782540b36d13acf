// The line-break conventions a document is saved with. A document keeps the
// convention of the file it was read from, the first break found deciding;
// a new document, or a file without any break, uses CR LF.
#pragma once

#include <optional>
#include <string_view>

namespace tabulo::editor {

enum class LineBreakStyle { CrLf, Lf, Cr };

// "\r\n", "\n", "\r".
std::string_view lineBreakBytes(LineBreakStyle style);
// "CR+LF", "LF", "CR": how the program names the convention to the user.
std::string_view lineBreakName(LineBreakStyle style);

// The breaks of a text noted in order: the first one decides the
// convention; a break of any other kind makes the text mixed.
class LineBreakTally {
public:
    void note(LineBreakStyle style) {
        if (!m_first) {
            m_first = style;
        } else if (*m_first != style) {
            m_mixed = true;
        }
    }
    std::optional<LineBreakStyle> first() const { return m_first; }
    LineBreakStyle convention() const { return m_first.value_or(LineBreakStyle::CrLf); }
    bool mixed() const { return m_mixed; }

private:
    std::optional<LineBreakStyle> m_first;
    bool m_mixed = false;
};

}  // namespace tabulo::editor
