// Pictures on the clipboard: put as image/png, read from any picture type
// the clipboard offers (image/png, image/bmp, ...).
#pragma once

#include <QImage>
#include <optional>

namespace tabulo::platform {

void setClipboardPicture(const QImage& picture);

// std::nullopt when the clipboard holds no picture.
std::optional<QImage> clipboardPicture();

}  // namespace tabulo::platform
