#include "platform/local_path.h"

#include <QStringList>
#include <algorithm>

#include "sjis/sjis_codec.h"

namespace tabulo::platform {
namespace {

constexpr char16_t kEscapeBase = 0xDC00;

// The length of the valid UTF-8 sequence at the start of `bytes`, 0 when
// there is none (overlong forms and encoded surrogates are not valid).
std::size_t validSequence(std::string_view bytes) {
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = at(0);
    std::size_t length = 0;
    unsigned low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (bytes.size() < length || at(1) < low || at(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (at(i) < 0x80 || at(i) > 0xBF) return 0;
    }
    return length;
}

bool isEscape(char16_t unit) {
    return unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF;
}

}  // namespace

QString fromLocalPath(std::string_view bytes) {
    QString out;
    std::size_t run = 0;  // start of the valid UTF-8 not yet appended
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t length = validSequence(bytes.substr(i));
        if (length > 0) {
            i += length;
            continue;
        }
        out += QString::fromUtf8(bytes.data() + run, static_cast<qsizetype>(i - run));
        out += QChar(static_cast<char16_t>(kEscapeBase + static_cast<unsigned char>(bytes[i])));
        run = ++i;
    }
    out += QString::fromUtf8(bytes.data() + run, static_cast<qsizetype>(bytes.size() - run));
    return out;
}

std::string toLocalPath(const QString& path) {
    std::string out;
    qsizetype run = 0;
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t unit = path[i].unicode();
        // A low surrogate after a high one is half of a real character.
        if (!isEscape(unit) || (i > 0 && path[i - 1].isHighSurrogate())) continue;
        out += path.mid(run, i - run).toUtf8().toStdString();
        out += static_cast<char>(unit - kEscapeBase);
        run = i + 1;
    }
    out += path.mid(run).toUtf8().toStdString();
    return out;
}

QString fromLocalFileUrl(const QUrl& url) {
    const QByteArray bytes = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    return fromLocalPath(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

QString displayPath(const QString& path) {
    QStringList names = path.split(QLatin1Char('/'));
    for (QString& name : names) {
        if (std::none_of(name.cbegin(), name.cend(), [](QChar c) { return isEscape(c.unicode()); })) continue;
        name = QString::fromStdString(sjis::SjisCodec::instance().toUtf8(toLocalPath(name)));
    }
    return names.join(QLatin1Char('/'));
}

}  // namespace tabulo::platform
