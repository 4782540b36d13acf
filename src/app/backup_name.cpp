#include "app/backup_name.h"

#include "platform/folders.h"

namespace tabulo::app {

QString backupFileName(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot <= slash) return path + QStringLiteral(".$");
    // The extension with its dot: ".txt" keeps "xt".
    const QString extension = path.mid(dot);
    return path.left(dot) + QStringLiteral(".$") + extension.mid(2);
}

QString autoBackupPath() {
    return QString::fromStdString(platform::programFolder()) + QStringLiteral("TbBackUp.$xt");
}

}  // namespace tabulo::app
