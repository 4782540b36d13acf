// Cat: several files dropped on the window, or named on the command line,
// are not opened one by one. TfmSetFiles lets the user choose the files to
// join and their order; they are joined into one text that becomes the
// document, named as the Cat target in the first file's folder. An
// existing file of the target's name is deleted first; a symbolic link
// there is removed itself, never the file it points at, and a target that
// is one of the files to join is kept. The joined text is built in the
// private work folder; saving the document writes the target, and a link
// planted there after the join is replaced, not followed.
#include <QApplication>
#include <QFile>
#include <QTemporaryFile>
#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

#include "app/main_window.h"
#include "app/window_placement.h"
#include "platform/error_handler.h"
#include "platform/local_path.h"
#include "platform/folders.h"
#include "search/engine/cat_append.h"
#include "search/window/set_files_dialog.h"

namespace tabulo::app {

bool TfmTabulo::catFiles(const QStringList& inputs, bool askSave) {
    if (inputs.isEmpty()) return false;
    if (askSave && !closeQuestion()) return false;
    std::vector<std::string> paths;
    for (const QString& input : inputs) paths.push_back(platform::toLocalPath(input));
    const std::string target = search::catTargetPath(paths.front());
    const std::string work = platform::workFolder();  // a refused work folder stops here, with its reason
    if (std::find(paths.begin(), paths.end(), target) == paths.end()) {
        struct stat info {};
        if (::lstat(target.c_str(), &info) == 0 && (S_ISREG(info.st_mode) || S_ISLNK(info.st_mode))) {
            ::unlink(target.c_str());
        }
    }

    m_setFiles->setInputs(paths);
    m_setFiles->move(placeDialog(frameGeometry(), m_setFiles->frameGeometry(), 0).topLeft());
    m_runDialog(*m_setFiles);
    if (m_setFiles->result() != 1) return false;

    QTemporaryFile joined(QString::fromStdString(work) + QStringLiteral("CatTemp.XXXXXX"));
    if (!joined.open()) {
        platform::prompts().message(QStringLiteral("can't open ") + joined.fileTemplate());
        return false;
    }
    joined.close();
    const std::string output = platform::toLocalPath(joined.fileName());
    const std::vector<std::string> files = m_setFiles->filesToJoin();
    showProgress(QStringLiteral("Make TempFile"), QString());
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::size_t left = files.size();
    for (const std::string& file : files) {
        search::CatAppendFile(file, output, work, [](const std::string& message) {
            platform::prompts().message(platform::fromLocalPath(message));
        });
        showProgress(QStringLiteral("Make TempFile"), QString::number(--left));
        QCoreApplication::processEvents();
    }
    showProgress(QStringLiteral("Load TempFile"), QString());
    QApplication::restoreOverrideCursor();
    // Its notes name the file the document becomes, not the work file.
    const QString targetName = platform::fromLocalPath(target);
    loadDocument(joined.fileName(), false, targetName);
    m_document.SetModified(false);
    setDocumentName(targetName);
    rememberFile(targetName);
    refreshCommands();
    return true;
}

}  // namespace tabulo::app
