// The fixed-name work files of scripts and reports, deleted when the main
// window closes (and by the function-length command before it writes its
// report). The auto-backup is not a work file: it stays for the next run.
#pragma once

#include <QString>

namespace tabulo::app {

// Deletes, each only if it exists: `reportFile` (when not empty); in the
// work folder "L.$", "T.$", "TA.txt", "TT.txt", "TZ.txt", "S.awk", "S.rb",
// "S.sed", "S.xtr"; in the program folder the debug script "Tbdebug.sh"
// and "Tbdebug".
void deleteWorkFiles(const QString& workFolder, const QString& programFolder, const QString& reportFile);

}  // namespace tabulo::app
