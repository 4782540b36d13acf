#include "platform/run_shell.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/error_handler.h"
#include "platform/local_path.h"
#include "platform/minimised_windows.h"
#include "os/process/child_process.h"

namespace tabulo::platform {
namespace {

RunShellHook& hook() {
    static RunShellHook installed;
    return installed;
}

// Starts the program on its own, with its arguments as the exact bytes of
// the names (QProcess would re-encode them and lose bytes that are not
// UTF-8), standard input from /dev/null, in a session of its own so that it
// outlives this window. False when the program could not be executed.
bool startDetached(const QString& program, const QStringList& parameters) {
    std::vector<std::string> words{toLocalPath(program)};
    for (const QString& p : parameters) words.push_back(toLocalPath(p));
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) return false;
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(report[0]);
        ::close(report[1]);
        return false;
    }
    if (child == 0) {
        // Only async-signal-safe calls from here on.
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild != 0) ::_exit(grandchild < 0 ? 1 : 0);
        const int null = ::open("/dev/null", O_RDONLY);
        if (null >= 0) ::dup2(null, STDIN_FILENO);
        ::execv(argv[0], argv.data());
        const int error = errno;
        [[maybe_unused]] const ssize_t written = ::write(report[1], &error, sizeof error);
        ::_exit(127);
    }
    ::close(report[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t got;
    while ((got = ::read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
    }
    ::close(report[0]);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 && got == 0;
}

// Without a pump the program goes its own way; with one the call waits for
// its end, letting `pump` run now and then, and ends the program's whole
// process group when `pump` returns false.
using WaitPump = const std::function<bool()>*;

bool startProgram(const QString& program, const QStringList& parameters, WaitPump pump) {
    if (!pump) return startDetached(program, parameters);
    os::ChildCommand command;
    command.arguments.push_back(toLocalPath(program));
    for (const QString& parameter : parameters) command.arguments.push_back(toLocalPath(parameter));
    command.shareStandardError = true;  // its messages go where a detached program's go
    os::ChildProcess child;
    try {
        child.start(command);
    } catch (const os::ChildStartError&) {
        return false;
    }
    // The program goes on while we wait, as a minimised window would.
    const MinimisedWindows aside;
    child.wait(*pump);
    return true;
}

bool isElfProgram(const QString& file) {
    const std::string path = toLocalPath(file);
    std::error_code error;
    if (::access(path.c_str(), X_OK) != 0 || !std::filesystem::is_regular_file(path, error)) return false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    char head[4] = {};
    const bool elf = ::read(fd, head, 4) == 4 && std::memcmp(head, "\x7F" "ELF", 4) == 0;
    ::close(fd);
    return elf;
}

bool isTerminalWord(const QString& file) {
    return file.compare(QStringLiteral("command"), Qt::CaseInsensitive) == 0 ||
           file == QStringLiteral("DOSプロンプト");
}

bool isUrl(const QString& file) {
    const QUrl url(file, QUrl::StrictMode);
    return url.isValid() && url.scheme().size() > 1 && !url.isLocalFile();
}

bool startOnPath(const QString& word, const QStringList& parameters, WaitPump pump) {
    const QString program = QStandardPaths::findExecutable(word);
    return !program.isEmpty() && startProgram(program, parameters, pump);
}

bool startTarget(const QString& file, const QStringList& parameters, WaitPump pump) {
    if (isTerminalWord(file)) return startOnPath(QStringLiteral("x-terminal-emulator"), parameters, pump);
    const QFileInfo info(file);
    std::error_code error;
    const bool exists = std::filesystem::exists(toLocalPath(file), error);
    if (isElfProgram(file)) return startProgram(info.absoluteFilePath(), parameters, pump);
    if (!file.contains(QLatin1Char('/'))) {
        const QString program = QStandardPaths::findExecutable(file);
        if (!program.isEmpty()) return startProgram(program, parameters, pump);
    }
    // The desktop's handler gets documents, folders and URLs; a name of
    // nothing is a failure here rather than an error window of the handler.
    if (!exists && !isUrl(file)) return false;
    return startOnPath(QStringLiteral("xdg-open"), QStringList{file} + parameters, pump);
}

// The hook stands in for the start and the wait only: while a waited
// program runs, this program's windows step aside all the same.
bool startThroughHook(const QString& file, const QStringList& parameters, WaitPump pump) {
    std::optional<MinimisedWindows> aside;
    if (pump) aside.emplace();
    return hook()(file, parameters, pump != nullptr);
}

bool start(const QString& file, const QStringList& parameters, WaitPump pump) {
    const bool started = hook() ? startThroughHook(file, parameters, pump) : startTarget(file, parameters, pump);
    if (!started) prompts().message(QStringLiteral("TbLib RunShell() Could not create process"));
    return started;
}

}  // namespace

void setRunShellHook(RunShellHook installed) {
    hook() = std::move(installed);
}

bool runShell(const QString& file, const QStringList& parameters) {
    return start(file, parameters, nullptr);
}

bool runShellWaiting(const QString& file, const QStringList& parameters, const std::function<bool()>& pump) {
    return start(file, parameters, &pump);
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
    return runShell(QCoreApplication::applicationFilePath(), arguments);
}

bool runSecondCopyWaiting(const SecondCopy& copy, const std::function<bool()>& pump) {
    return runShellWaiting(QCoreApplication::applicationFilePath(), secondCopyArguments(copy), pump);
}

}  // namespace tabulo::platform
