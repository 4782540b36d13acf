// Starting another copy of the program on a file (a text file dropped on a
// window that already holds a document). Tests replace the starter so no
// process is started.
#pragma once

#include <QStringList>
#include <functional>

namespace tabulo::app {

// Starts this program detached with `arguments`, each passed as its own
// argument (no shell sees them); on failure shows
// "TbLib RunShell() Could not create process". Returns whether it started.
bool startSecondCopy(const QStringList& arguments);

// Replaces the starter (it returns whether the process started); an empty
// function restores the real one.
using SecondCopyStarter = std::function<bool(const QStringList& arguments)>;
void setSecondCopyStarter(SecondCopyStarter starter);

}  // namespace tabulo::app
