#include "platform/run_shell.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
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

bool isElfProgram(const QFileInfo& info) {
    if (!info.isFile() || !info.isExecutable()) return false;
    QFile file(info.absoluteFilePath());
    return file.open(QIODevice::ReadOnly) && file.read(4) == QByteArray("\x7F" "ELF", 4);
}

bool isTerminalWord(const QString& file) {
    return file.compare(QStringLiteral("command"), Qt::CaseInsensitive) == 0 ||
           file == QStringLiteral("DOSプロンプト");
}

bool isUrl(const QString& file) {
    const QUrl url(file, QUrl::StrictMode);
    return url.isValid() && url.scheme().size() > 1 && !url.isLocalFile();
}

bool startTarget(const QString& file, const QStringList& parameters, bool wait) {
    if (isTerminalWord(file)) return startProgram(QStringLiteral("x-terminal-emulator"), parameters, wait);
    const QFileInfo info(file);
    if (isElfProgram(info)) return startProgram(info.absoluteFilePath(), parameters, wait);
    if (!file.contains(QLatin1Char('/'))) {
        const QString program = QStandardPaths::findExecutable(file);
        if (!program.isEmpty()) return startProgram(program, parameters, wait);
    }
    // The desktop's handler gets documents, folders and URLs; a name of
    // nothing is a failure here rather than an error window of the handler.
    if (!info.exists() && !isUrl(file)) return false;
    return startProgram(QStringLiteral("xdg-open"), QStringList{file} + parameters, wait);
}

}  // namespace

void setRunShellHook(RunShellHook installed) {
    hook() = std::move(installed);
}

bool runShell(const QString& file, const QStringList& parameters, bool wait) {
    const bool started = hook() ? hook()(file, parameters, wait) : startTarget(file, parameters, wait);
    if (!started) prompts().message(QStringLiteral("TbLib RunShell() Could not create process"));
    return started;
}

QStringList secondCopyArguments(const SecondCopy& copy) {
    QStringList arguments;
    if (copy.viewer) arguments << QStringLiteral("-d");
    if (copy.line > 0) arguments << QStringLiteral("--line=%1").arg(copy.line);
    arguments << (copy.file.startsWith(QLatin1Char('-')) ? QStringLiteral("./") + copy.file : copy.file);
    return arguments;
}

bool openInSecondCopy(const SecondCopy& copy) {
    return runSecondCopy(secondCopyArguments(copy));
}

bool runSecondCopy(const QStringList& arguments) {
    return runShell(QCoreApplication::applicationFilePath(), arguments, false);
}

}  // namespace tabulo::platform
