// Clipboard text in and out through QClipboard; see clipboard.h.
#include "platform/clipboard.h"

#include "sjis/sjis_codec.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <string_view>

namespace tabulo::platform {

namespace detail {

QString toQString(const std::u16string& text)
{
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

std::u16string_view view(const QString& text)
{
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

// CR LF, lone LF and lone CR each become CR LF.
std::string withCrLf(const std::string& text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else if (text[i] == '\n') {
            out += "\r\n";
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace detail

void setClipboardText(const std::string& bytes, bool box)
{
    const QString text = detail::toQString(sjis::SjisCodec::instance().toUtf16(bytes));
    auto* data = new QMimeData;
    data->setText(text);
    data->setData(QString::fromLatin1(kSjisMimeType), QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (box) {
        QByteArray utf8 = text.toUtf8();
        utf8.append('\0');
        data->setData(QString::fromLatin1(kBoxMimeType), utf8);
    }
    QGuiApplication::clipboard()->setMimeData(data);
}

std::optional<ClipboardText> clipboardText()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr || !data->hasText()) {
        return std::nullopt;
    }
    const QString text = data->text();
    const sjis::SjisCodec& codec = sjis::SjisCodec::instance();

    ClipboardText result;
    // The private types count only while they still describe the plain text:
    // another program may have replaced the text but left them behind.
    const QByteArray box = data->data(QString::fromLatin1(kBoxMimeType));
    result.box = !box.isEmpty() && box.back() == '\0' && QString::fromUtf8(box.chopped(1)) == text;

    const QByteArray sjis = data->data(QString::fromLatin1(kSjisMimeType));
    std::string bytes(sjis.constData(), static_cast<std::size_t>(sjis.size()));
    if (data->hasFormat(QString::fromLatin1(kSjisMimeType)) && codec.toUtf16(bytes) == detail::view(text)) {
        result.sjis = std::move(bytes);
    } else {
        result.sjis = detail::withCrLf(codec.fromUtf16Lossy(detail::view(text), &result.replaced));
    }
    return result;
}

bool clipboardHasText()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data != nullptr && data->hasText() && !data->text().isEmpty();
}

}  // namespace tabulo::platform
