// Starting outside programs and documents the way the desktop does: an
// executable path or a command word found on PATH starts that program with
// the parameters as separate arguments (no shell parsing); anything else is
// opened with the desktop's handler. Tests install a hook instead.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace tabulo::platform {

// Returns false when the process could not be started; the caller has
// already been shown "TbLib RunShell() Could not create process" then.
// With `wait`, blocks until the started program ends.
bool runShell(const QString& file, const QStringList& parameters, bool wait);

// Starts another copy of this program with the given arguments.
bool runSecondCopy(const QStringList& arguments);

// Replaces the starting of processes (tests); an empty function restores it.
using RunShellHook = std::function<bool(const QString& file, const QStringList& parameters, bool wait)>;
void setRunShellHook(RunShellHook hook);

}  // namespace tabulo::platform
