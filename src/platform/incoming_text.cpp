#include "platform/incoming_text.h"

#include <string_view>

#include "sjis/sjis_codec.h"

namespace tabulo::platform {

namespace {

std::u16string_view view(const QString& text, qsizetype from, qsizetype length) {
    return {reinterpret_cast<const char16_t*>(text.utf16()) + from, static_cast<std::size_t>(length)};
}

// End of the character sequence starting at `from`: one code point and the
// combining marks that follow it.
qsizetype sequenceEnd(const QString& text, qsizetype from) {
    auto codePointAt = [&](qsizetype i, qsizetype& length) -> char32_t {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            length = 2;
            return QChar::surrogateToUcs4(c, text.at(i + 1));
        }
        length = 1;
        return c.unicode();
    };
    qsizetype length = 0;
    codePointAt(from, length);
    qsizetype end = from + length;
    while (end < text.size()) {
        const char32_t next = codePointAt(end, length);
        if (QChar::combiningClass(next) == 0) break;
        end += length;
    }
    return end;
}

}  // namespace

IncomingText sjisOfIncomingText(const QString& text) {
    const auto& codec = sjis::SjisCodec::instance();
    IncomingText result;
    result.sjis.reserve(static_cast<std::size_t>(text.size()) * 2);
    for (qsizetype pos = 0; pos < text.size();) {
        const qsizetype end = sequenceEnd(text, pos);
        if (const auto bytes = codec.fromUtf16(view(text, pos, end - pos))) {
            result.sjis += *bytes;
        } else {
            const QString composed = text.mid(pos, end - pos).normalized(QString::NormalizationForm_C);
            std::size_t replaced = 0;
            result.sjis += codec.fromUtf16Lossy(view(composed, 0, composed.size()), &replaced);
            result.replaced += replaced;
        }
        pos = end;
    }
    return result;
}

QString replacedCharactersNote(std::size_t replaced) {
    if (replaced == 0) return {};
    return QStringLiteral("Shift-JIS にない文字 %1 個を「〓」に置き換えました。").arg(replaced);
}

}  // namespace tabulo::platform
