#include "platform/clipboard_picture.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace tabulo::platform {

void setClipboardPicture(const QImage& picture) {
    auto* data = new QMimeData;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    data->setData(QStringLiteral("image/png"), png);
    data->setImageData(picture);
    QGuiApplication::clipboard()->setMimeData(data);
}

std::optional<QImage> clipboardPicture() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data) return std::nullopt;
    if (data->hasImage()) {
        const QImage image = qvariant_cast<QImage>(data->imageData());
        if (!image.isNull()) return image;
    }
    for (const char* type : {"image/png", "image/bmp"}) {
        const QString mime = QString::fromLatin1(type);
        if (!data->hasFormat(mime)) continue;
        QImage image;
        if (image.loadFromData(data->data(mime)) && !image.isNull()) return image;
    }
    return std::nullopt;
}

}  // namespace tabulo::platform
