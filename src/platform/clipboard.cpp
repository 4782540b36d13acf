// Clipboard text in and out through QClipboard; see clipboard.h.
#include "platform/clipboard.h"

#include "platform/incoming_text.h"
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

// CR LF, lone LF and lone CR each become CR LF.
std::string withCrLf(std::string_view text)
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

// The plain text other programs get: the document's CR LF becomes LF (a
// lone CR in the document stays, it is no line break there).
QString plainTextOf(const std::string& sjis)
{
    QString text = toQString(sjis::SjisCodec::instance().toUtf16(sjis));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

QClipboard::Mode qtMode(ClipboardMode mode)
{
    return mode == ClipboardMode::Primary ? QClipboard::Selection : QClipboard::Clipboard;
}

}  // namespace detail

void setClipboardText(const std::string& bytes, bool box, ClipboardMode mode)
{
    if (mode == ClipboardMode::Primary && !hasPrimarySelection()) {
        return;
    }
    const QString text = detail::plainTextOf(bytes);
    auto* data = new QMimeData;
    data->setText(text);
    data->setData(QString::fromLatin1(kSjisMimeType), QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (box) {
        QByteArray utf8 = text.toUtf8();
        utf8.append('\0');
        data->setData(QString::fromLatin1(kBoxMimeType), utf8);
    }
    QGuiApplication::clipboard()->setMimeData(data, detail::qtMode(mode));
}

std::optional<ClipboardText> clipboardText(ClipboardMode mode)
{
    if (mode == ClipboardMode::Primary && !hasPrimarySelection()) {
        return std::nullopt;
    }
    return textOfMimeData(QGuiApplication::clipboard()->mimeData(detail::qtMode(mode)));
}

std::optional<ClipboardText> textOfMimeData(const QMimeData* data)
{
    if (data == nullptr || !data->hasText()) {
        return std::nullopt;
    }
    const QString text = data->text();

    ClipboardText result;
    // The private types count only while they still describe the plain text:
    // another program may have replaced the text but left them behind.
    const QByteArray box = data->data(QString::fromLatin1(kBoxMimeType));
    result.box = !box.isEmpty() && box.back() == '\0' && QString::fromUtf8(box.chopped(1)) == text;

    const QByteArray sjis = data->data(QString::fromLatin1(kSjisMimeType));
    std::string bytes(sjis.constData(), static_cast<std::size_t>(sjis.size()));
    if (data->hasFormat(QString::fromLatin1(kSjisMimeType)) && detail::plainTextOf(bytes) == text) {
        result.sjis = std::move(bytes);
    } else {
        IncomingText incoming = sjisOfIncomingText(text);
        result.sjis = detail::withCrLf(incoming.sjis);
        result.replaced = incoming.replaced;
    }
    return result;
}

bool hasPrimarySelection()
{
    return QGuiApplication::clipboard()->supportsSelection();
}

bool clipboardHasText()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data != nullptr && data->hasText() && !data->text().isEmpty();
}

}  // namespace tabulo::platform
