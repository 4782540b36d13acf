#include "editor/view/preedit.h"

#include <QInputMethodEvent>
#include <algorithm>

#include "sjis/sjis_codec.h"

namespace tabulo::editor {

void Preedit::set(const QInputMethodEvent& event) {
    clear();
    text = event.preeditString();
    cursor = static_cast<int>(text.size());
    for (const QInputMethodEvent::Attribute& a : event.attributes()) {
        if (a.type == QInputMethodEvent::TextFormat) {
            const QTextCharFormat format = qvariant_cast<QTextFormat>(a.value).toCharFormat();
            if (format.isValid() && a.length > 0) clauses.push_back({a.start, a.length, format});
        } else if (a.type == QInputMethodEvent::Cursor) {
            cursor = std::clamp(a.start, 0, static_cast<int>(text.size()));
            cursorVisible = a.length > 0;
        }
    }
}

int Preedit::columnsBefore(int units) const {
    const auto& codec = sjis::SjisCodec::instance();
    int columns = 0;
    for (int i = 0; i < units && i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isLowSurrogate()) continue;  // counted with its high half
        const auto code = codec.charFromUtf16(c.unicode());
        columns += code && *code <= 0xFF ? 1 : 2;
    }
    return columns;
}

QTextCharFormat Preedit::formatAt(int unit) const {
    // Later attributes are drawn over earlier ones, as Qt's text layout does.
    QTextCharFormat merged;
    for (const Clause& c : clauses) {
        if (unit >= c.start && unit < c.start + c.length) merged.merge(c.format);
    }
    return merged;
}

}  // namespace tabulo::editor
