// File names are bytes on Linux and need not be UTF-8 (a name written by a
// Shift-JIS system, for one). Paths travel through the window as QStrings
// that keep every byte: a byte that is not part of valid UTF-8 is held as
// the lone surrogate U+DC80..U+DCFF of its value, so the bytes come back
// unchanged when the file is opened or saved.
#pragma once

#include <QString>
#include <QUrl>
#include <string>
#include <string_view>

namespace tabulo::platform {

QString fromLocalPath(std::string_view bytes);
std::string toLocalPath(const QString& path);

// The path of a local-file URL (a dropped file), from its percent-encoded
// bytes: QUrl::toLocalFile() would turn bytes that are not UTF-8 into U+FFFD.
QString fromLocalFileUrl(const QUrl& url);

// The path as the user reads it, in captions, menus and messages: each
// name that is not UTF-8 is read as Shift-JIS.
QString displayPath(const QString& path);

}  // namespace tabulo::platform
