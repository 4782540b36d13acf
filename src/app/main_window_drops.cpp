// Files that reach the main window from outside: dropped on it from the
// desktop, or named on the command line at start-up. One text file opens
// (in this window when it is empty, else in a second copy of the program);
// a JPEG or BMP picture goes to the graph window; several files go to Cat.
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <unistd.h>

#include "app/main_window.h"
#include "graph/engine/graph_kind.h"
#include "graph/window/func_window.h"
#include "platform/error_handler.h"
#include "platform/folders.h"
#include "platform/local_path.h"
#include "platform/long_path.h"
#include "platform/run_shell.h"

namespace tabulo::app {
namespace {

bool isPicture(const QString& path) {
    const QString extension = QStringLiteral(".") + QFileInfo(path).suffix().toUpper();
    return extension == QStringLiteral(".JPEG") || extension == QStringLiteral(".JPG") ||
           extension == QStringLiteral(".BMP");
}

}  // namespace

void TfmTabulo::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TfmTabulo::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) paths << platform::fromLocalFileUrl(url);
    }
    if (paths.isEmpty()) return;
    event->acceptProposedAction();
    platform::runGuarded(platform::prompts(), [&] { dropFiles(paths); });
    refreshStatus();
    refreshCommands();
}

void TfmTabulo::showPicture(const QString& path) {
    if (!m_func->openPicture(path)) return;
    m_tag = graph::tagOfGraphKind(graph::GraphKind::Picture);
    showGraphWindow();
}

void TfmTabulo::dropFiles(const QStringList& paths) {
    if (paths.size() == 1) {
        const QString& path = paths.front();
        if (isPicture(path)) {
            showPicture(path);
        } else if (m_document.Lines().Count() == 0) {
            openFile(path);
        } else {
            platform::openInSecondCopy({path});  // the path is one argument; no shell sees it
        }
        activateWindow();
        raise();
    } else if (paths.size() > 1) {
        catFiles(paths, true);
    }
    refreshStatus();
    refreshCommands();
}

void TfmTabulo::openCommandLineFiles() {
    const int count = static_cast<int>(m_fileArguments.size());
    try {
        if (count == 1) {
            const QString& argument = m_fileArguments.front();
            if (isPicture(argument)) {
                showPicture(argument);
                return;
            }
            const std::string bytes = platform::longPathName(platform::toLocalPath(argument));
            const QString path = platform::fromLocalPath(bytes);
            if (::access(bytes.c_str(), F_OK) != 0) {
                platform::prompts().message(QStringLiteral("引数") + platform::displayPath(path) +
                                            QStringLiteral("のファイル名が収得できません"));
                return;
            }
            openFile(path);
            if (m_startLine > 0) goToLine(m_startLine);
            // A script result shown by a second copy has no file of its own.
            if (!m_workFolderRefused && m_documentName == QString::fromStdString(m_workFolder) + QStringLiteral("TT.txt")) {
                setDocumentName(QString::fromStdString(platform::programFolder()) + QStringLiteral("ScriptTmp"));
            }
        } else if (count > 1) {
            QStringList inputs;
            for (const QString& argument : m_fileArguments) {
                inputs << platform::fromLocalPath(platform::longPathName(platform::toLocalPath(argument)));
            }
            catFiles(inputs, false);
        }
    } catch (const std::exception& error) {
        // Files dropped on the program's icon arrive as arguments; a long
        // list may have been cut short by the system.
        const int arguments = count + (m_viewerMode ? 1 : 0);
        if (arguments > 3) {
            platform::prompts().message(QStringLiteral("警告：ファイル数が多すぎます。立ち上げた画面に\n"
                                                       "もう一度ドラッグ＆ドロップをしてください。"));
        } else {
            platform::reportError(platform::prompts(), error);
        }
    }
}

}  // namespace tabulo::app
