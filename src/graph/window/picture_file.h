// Reading and writing the graph window's pictures: JPEG through libjpeg,
// BMP through the toolkit's reader. The kind comes from the upper-cased
// extension. Failures raise EPictureError with the text shown to the user.
#pragma once

#include <QImage>
#include <QString>

namespace tabulo::graph {

enum class PictureFormat { Jpeg, Bmp, Unsupported };

// ".JPG" and ".JPEG" are JPEG, ".BMP" is BMP, in any case.
PictureFormat pictureFormatOf(const QString& path);

// Reads a JPEG or BMP file. Pictures over kMaxPicturePixels, unreadable and
// damaged files raise EPictureError.
QImage readPicture(const QString& path);

// Writes the picture as JPEG (quality 90, baseline) or BMP by the name's
// extension; the old file is replaced only once the new one is complete.
void writePicture(const QImage& picture, const QString& path);
// The same in the given format, whatever the name.
void writePicture(const QImage& picture, const QString& path, PictureFormat format);

}  // namespace tabulo::graph
