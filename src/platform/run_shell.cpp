#include "platform/run_shell.h"

#include <QApplication>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QWidget>

#include "platform/error_handler.h"

namespace tabulo::platform {
namespace {

RunShellHook& hook() {
    static RunShellHook installed;
    return installed;
}

bool startProgram(const QString& program, const QStringList& parameters, bool wait) {
    if (!wait) return QProcess::startDetached(program, parameters);
    QProcess process;
    process.start(program, parameters);
    if (!process.waitForStarted()) return false;
    // The program goes on while we wait, as a minimised window would.
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible()) w->showMinimized();
    }
    process.waitForFinished(-1);
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isMinimized()) w->showNormal();
    }
    return true;
}

}  // namespace

void setRunShellHook(RunShellHook installed) {
    hook() = std::move(installed);
}

bool runShell(const QString& file, const QStringList& parameters, bool wait) {
    bool started;
    if (hook()) {
        started = hook()(file, parameters, wait);
    } else {
        const QFileInfo info(file);
        QString program;
        if (info.isFile() && info.isExecutable()) {
            program = info.absoluteFilePath();
        } else if (!file.contains(QLatin1Char('/'))) {
            program = QStandardPaths::findExecutable(file);
        }
        if (!program.isEmpty()) {
            started = startProgram(program, parameters, wait);
        } else {
            // A document: the desktop's handler opens it.
            started = startProgram(QStringLiteral("xdg-open"), QStringList{file} + parameters, wait);
        }
    }
    if (!started) prompts().message(QStringLiteral("TbLib RunShell() Could not create process"));
    return started;
}

bool runSecondCopy(const QStringList& arguments) {
    return runShell(QCoreApplication::applicationFilePath(), arguments, false);
}

}  // namespace tabulo::platform
