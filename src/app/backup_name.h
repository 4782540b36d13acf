// Names of the copies the program keeps of documents: the backup made when
// a file is overwritten, and the timed auto-backup in the program folder.
#pragma once

#include <QString>

namespace tabulo::app {

// The extension is replaced by ".$" and the old extension without its
// first two characters: a.txt -> a.$xt, a.html -> a.$tml, a.c and a name
// without extension -> a.$. Only the file part's last dot counts.
QString backupFileName(const QString& path);

// "TbBackUp.$xt" in the program folder.
QString autoBackupPath();

}  // namespace tabulo::app
