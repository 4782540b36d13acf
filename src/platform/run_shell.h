// Starting outside programs and documents the way the desktop does. An ELF
// program, or a bare command word found on PATH, starts with the parameters
// as separate arguments (no shell ever parses them); the word "command"
// opens a terminal; any other existing file or folder, and a URL, opens with
// the desktop's handler (so a script file opens as a document, never runs).
// Tests install a hook instead.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace tabulo::platform {

// Returns false when the process could not be started (or the target names
// nothing that exists); the caller has already been shown
// "TbLib RunShell() Could not create process" then.
bool runShell(const QString& file, const QStringList& parameters);

// The same, waiting for the started program's end with this program's
// windows minimised, calling `pump` now and then; when `pump` returns false
// the program and everything it started are ended.
bool runShellWaiting(const QString& file, const QStringList& parameters, const std::function<bool()>& pump);

// A file opened in another copy of this program.
struct SecondCopy {
    QString file;
    bool viewer = false;  // "-d": the viewer mode
    int line = 0;         // "--line=N": the caret starts on line N (1-based)
};

// The arguments of that copy: the options first, then the file as one
// argument (a name starting with "-" is written "./-..." so it cannot read as
// an option).
QStringList secondCopyArguments(const SecondCopy& copy);
bool openInSecondCopy(const SecondCopy& copy);

// Starts another copy of this program with the given arguments.
bool runSecondCopy(const QStringList& arguments);

// Opens the file in another copy of this program and waits for that copy's
// end with this program's windows minimised, calling `pump` now and then; when `pump` returns false the copy and
// everything it started are ended. False when it could not be started (the
// user has been told).
bool runSecondCopyWaiting(const SecondCopy& copy, const std::function<bool()>& pump);

// Replaces the starting of processes (tests); an empty function restores it.
using RunShellHook = std::function<bool(const QString& file, const QStringList& parameters, bool wait)>;
void setRunShellHook(RunShellHook hook);

}  // namespace tabulo::platform
