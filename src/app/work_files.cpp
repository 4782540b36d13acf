#include "app/work_files.h"

#include <QFile>

namespace tabulo::app {

void deleteWorkFiles(const QString& workFolder, const QString& programFolder, const QString& reportFile) {
    if (!reportFile.isEmpty()) QFile::remove(reportFile);
    for (const char* name : {"L.$", "T.$", "TA.txt", "TT.txt", "TZ.txt", "S.awk", "S.rb", "S.sed", "S.xtr"}) {
        QFile::remove(workFolder + QString::fromLatin1(name));
    }
    QFile::remove(programFolder + QStringLiteral("Tbdebug.sh"));
    QFile::remove(programFolder + QStringLiteral("Tbdebug"));
}

}  // namespace tabulo::app
