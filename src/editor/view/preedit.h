// The text an input method is composing, as its last QInputMethodEvent
// described it: the characters, the format of each clause (underline,
// colours, the clause being converted highlighted) and the input method's
// cursor within it. The editor shows it at the caret without storing it;
// widths are in display columns, counted as the committed text will take
// them (a character Shift-JIS lacks takes the two columns of its 〓).
#pragma once

#include <QList>
#include <QString>
#include <QTextCharFormat>

class QInputMethodEvent;

namespace tabulo::editor {

struct Preedit {
    struct Clause {
        int start = 0;  // UTF-16 units into text
        int length = 0;
        QTextCharFormat format;
    };

    QString text;
    QList<Clause> clauses;
    int cursor = 0;  // UTF-16 units into text
    bool cursorVisible = true;

    bool empty() const { return text.isEmpty(); }
    void clear() { *this = Preedit(); }
    // Takes the pre-edit string and the TextFormat and Cursor attributes;
    // without a Cursor attribute the cursor stands at the end.
    void set(const QInputMethodEvent& event);

    // Columns of text[0, units).
    int columnsBefore(int units) const;
    int columns() const { return columnsBefore(static_cast<int>(text.size())); }
    // The format of the clause covering text[unit], or a plain one.
    QTextCharFormat formatAt(int unit) const;
};

}  // namespace tabulo::editor
