#include "graph/window/picture_file.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>

#include "graph/engine/jpeg_codec.h"
#include "graph/engine/picture_error.h"
#include "os/files/output_file.h"
#include "platform/local_path.h"

namespace tabulo::graph {

namespace {

[[noreturn]] void fail(const QString& text) { throw EPictureError(text.toStdString()); }

QImage readJpeg(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) fail(path + QStringLiteral(" を開けません"));
    // A compressed picture is far smaller than its pixels; a file this big
    // would be refused by the pixel limit anyway.
    if (file.size() > kMaxPicturePixels * 4) fail(QString::fromUtf8(kPictureTooLargeMessage));
    const QByteArray bytes = file.readAll();
    RgbImage rgb;
    try {
        rgb = decodeJpeg(bytes.toStdString());
    } catch (const EPictureError& error) {
        fail(path + QStringLiteral(": ") + QString::fromUtf8(error.what()));
    }
    QImage image(rgb.width, rgb.height, QImage::Format_RGB32);
    if (image.isNull()) fail(QString::fromUtf8(kPictureTooLargeMessage));
    for (int y = 0; y < rgb.height; ++y) {
        const unsigned char* source = rgb.pixels.data() + static_cast<std::size_t>(y) * rgb.width * 3;
        auto* target = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < rgb.width; ++x) target[x] = qRgb(source[3 * x], source[3 * x + 1], source[3 * x + 2]);
    }
    return image;
}

QImage readBmp(const QString& path) {
    QImageReader reader(path, "BMP");
    const QSize size = reader.size();
    if (size.isValid() && static_cast<long long>(size.width()) * size.height() > kMaxPicturePixels) {
        fail(QString::fromUtf8(kPictureTooLargeMessage));
    }
    QImage image = reader.read();
    if (image.isNull()) fail(path + QStringLiteral(" を読み込めません: ") + reader.errorString());
    return image;
}

RgbImage rgbOf(const QImage& picture) {
    const QImage image = picture.convertToFormat(QImage::Format_RGB888);
    RgbImage rgb{image.width(), image.height(), {}};
    rgb.pixels.resize(static_cast<std::size_t>(rgb.width) * rgb.height * 3);
    for (int y = 0; y < rgb.height; ++y) {
        std::copy_n(image.constScanLine(y), rgb.width * 3, rgb.pixels.data() + static_cast<std::size_t>(y) * rgb.width * 3);
    }
    return rgb;
}

}  // namespace

PictureFormat pictureFormatOf(const QString& path) {
    const QString extension = QStringLiteral(".") + QFileInfo(path).suffix().toUpper();
    if (extension == QStringLiteral(".JPG") || extension == QStringLiteral(".JPEG")) return PictureFormat::Jpeg;
    if (extension == QStringLiteral(".BMP")) return PictureFormat::Bmp;
    return PictureFormat::Unsupported;
}

QImage readPicture(const QString& path) {
    switch (pictureFormatOf(path)) {
    case PictureFormat::Jpeg: return readJpeg(path);
    case PictureFormat::Bmp: return readBmp(path);
    case PictureFormat::Unsupported: break;
    }
    fail(path + QStringLiteral(" はサポートされていない画像形式です"));
}

void writePicture(const QImage& picture, const QString& path) { writePicture(picture, path, pictureFormatOf(path)); }

void writePicture(const QImage& picture, const QString& path, PictureFormat format) {
    if (format == PictureFormat::Unsupported) fail(QStringLiteral("サポートしていないフォーマットです！"));
    // The picture is encoded in memory first: a failed write is then the
    // file's own.
    std::string bytes;
    if (format == PictureFormat::Jpeg) {
        bytes = encodeJpeg(rgbOf(picture), kJpegQuality);
    } else {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "BMP");
        if (!writer.write(picture.convertToFormat(QImage::Format_RGB888))) {
            fail(path + QStringLiteral(" に書き込めません: ") + writer.errorString());
        }
        bytes = buffer.data().toStdString();
    }
    const std::string target = platform::toLocalPath(path);
    try {
        os::writeOutputFile(target, bytes);
    } catch (const std::runtime_error& error) {
        // The system's reason, after the name the message starts with.
        const std::string text = error.what();
        const std::size_t colon = text.rfind(": ");
        const std::string reason = colon == std::string::npos ? text : text.substr(colon + 2);
        fail(path + QStringLiteral(" に書き込めません: ") + QString::fromLocal8Bit(reason));
    }
}

}  // namespace tabulo::graph
