// The main window's document files: new, open, save and save as with the
// free-space check and the backup question, the auto-backup and its
// read-back, opening from the recent-file history, and the close question.
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <unistd.h>

#include "app/backup_name.h"
#include "app/main_window.h"
#include "app/open_file_histories.h"
#include "calc/result_format.h"
#include "platform/error_handler.h"
#include "platform/folders.h"
#include "platform/free_space.h"

namespace tabulo::app {

namespace {

const QString kFileFilter = QStringLiteral(
    "テキストファイル(*.txt *.doc *.htm* *.ini *.ssm)|*.txt;*.doc;*.htm*;*.ini;*.ssm|"
    "スクリプトファイル(*.awk *.rb *.sed *.xtr)|*.awk;*.rb;*.sed;*.xtr|"
    "Ｃファイル(*.cpp *.c *.h *.hpp *.mak)|*.CPP;*.C;*.H;*.HPP;*.MAK|"
    "すべてのファイル（*.*）|*.*");

std::string localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString boxTitle() {
    return QString::fromStdString(platform::programFileName());
}

QString historyKey() {
    return QString::fromStdString(platform::programFileName());
}

// The reason after the path in the model's file errors ("path: reason").
QString reasonOf(const std::exception& error, const QString& path) {
    QString what = QString::fromUtf8(error.what());
    const QString prefix = QString::fromUtf8(localPath(path)) + QStringLiteral(": ");
    if (what.startsWith(prefix)) what = what.mid(prefix.size());
    return what;
}

[[noreturn]] void fileError(const char* format, const QString& path, const std::exception& error) {
    const QString text = QString::fromUtf8(format).arg(path) + QStringLiteral(" (") + reasonOf(error, path) +
                         QStringLiteral(")");
    throw std::runtime_error(text.toStdString());
}

bool hasNoFile(const QString& name) {
    return name.isEmpty() || name == QStringLiteral("UnTitled") ||
           QFileInfo(name).fileName() == QStringLiteral("ScriptTmp");
}

QString numberText(float value) {
    return QString::fromStdString(calc::formatResult(static_cast<long double>(value)));
}

// Keeps the old file under the backup name. A second link rather than a
// rename, so the file itself stays in place until the new text has fully
// replaced it: a failed write then loses nothing.
void makeBackup(const QString& path) {
    const QString backup = backupFileName(path);
    QFile::remove(backup);
    if (::link(localPath(path).c_str(), localPath(backup).c_str()) == 0) return;
    if (!QFile::copy(path, backup)) {
        throw std::runtime_error(QStringLiteral("ファイル %1 を作成できません").arg(backup).toStdString());
    }
}

}  // namespace

void TfmTabulo::registerFileCommands() {
    addCommand(QStringLiteral("New1"), [this](QAction*) { newDocument(); });
    addCommand(QStringLiteral("Open1"), [this](QAction*) { openWithDialog(); });
    addCommand(QStringLiteral("Save"), [this](QAction*) { saveDocument(); });
    addCommand(QStringLiteral("SaveAs1"), [this](QAction*) { saveDocumentAs(); });
}

void TfmTabulo::setDocumentName(const QString& name) {
    m_documentName = name;
    refreshStatus();
}

// Answering Yes and then cancelling or failing the save keeps the document:
// clearing it then would throw away the text the user asked to keep.
bool TfmTabulo::newDocument() {
    if (m_document.Modified()) {
        const platform::Answer answer = platform::prompts().confirm(
            QStringLiteral("変更点を保存しますか?"), boxTitle(), platform::Buttons::YesNoCancel);
        if (answer == platform::Answer::Cancel) return false;
        if (answer == platform::Answer::Yes && !saveDocumentAs()) return false;
    }
    m_document.Lines().Clear();
    m_document.SetModified(false);
    m_documentName.clear();
    refreshStatus();
    refreshCommands();
    return true;
}

void TfmTabulo::loadDocument(const QString& path) {
    try {
        m_document.LoadFromFile(localPath(path));
    } catch (const std::exception& error) {
        fileError("ファイル %1 は開けません", path, error);
    }
}

bool TfmTabulo::openFile(const QString& path) {
    const QString name = QFileInfo(path).absoluteFilePath();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        loadDocument(name);
    } catch (...) {
        QApplication::restoreOverrideCursor();
        throw;
    }
    QApplication::restoreOverrideCursor();
    m_document.SetModified(false);
    setDocumentName(name);
    addToHistory(name);
    refreshCommands();
    return true;
}

void TfmTabulo::openWithDialog() {
    if (!newDocument()) return;
    const std::optional<QString> path = platform::prompts().openFile(QString(), QString(), kFileFilter);
    if (path) openFile(*path);
}

void TfmTabulo::addToHistory(const QString& path) {
    if (path == QStringLiteral("UnTitled")) return;
    const QString folder = QFileInfo(path).absolutePath() + QLatin1Char('/');
    if (folder == QString::fromStdString(platform::workFolder())) return;
    m_histories->Refresh(historyKey());
    m_histories->Add(path);
}

// Choosing a recent file asks about unsaved changes first, as opening any
// other file does, instead of replacing the modified text unasked.
void TfmTabulo::openHistoryEntry(const QString& path) {
    if (m_document.Modified() && !newDocument()) return;
    m_histories->Refresh(historyKey());
    loadDocument(path);
    m_histories->Add(path);
    setDocumentName(path);
    m_document.SetModified(false);
    refreshStatus();
    refreshCommands();
}

bool TfmTabulo::saveDocument() {
    if (m_document.Lines().Count() == 0) return false;
    if (hasNoFile(m_documentName)) return saveDocumentAs();
    refreshStatus();
    return saveFile(m_documentName, false);
}

bool TfmTabulo::saveDocumentAs() {
    const QString start = hasNoFile(m_documentName) ? QString() : m_documentName;
    const std::optional<QString> path = platform::prompts().saveFile(QString(), start, kFileFilter);
    if (!path) return false;
    QString name = QFileInfo(*path).absoluteFilePath();
    if (QFileInfo(name).suffix().isEmpty()) name += QStringLiteral(".txt");
    setDocumentName(name);
    const bool written = saveFile(name, true);
    addToHistory(name);
    return written;
}

bool TfmTabulo::saveFile(const QString& path, bool askBackup) {
    const platform::FreeSpace space = platform::freeSpaceFor(localPath(path));
    const QString drive = QString::fromStdString(space.drive);
    // Both sizes are compared as single-precision reals, as they are shown.
    const float needed = static_cast<float>(m_document.textLength());
    if (!space.bytes) {
        const platform::Answer answer = platform::prompts().confirm(
            QStringLiteral("Drive ") + drive + QStringLiteral(" の空き容量が計算不能！書き込みますか？"), boxTitle(),
            platform::Buttons::YesNo);
        if (answer != platform::Answer::Yes) return false;
    } else if (const float free = static_cast<float>(*space.bytes); free <= needed) {
        platform::prompts().message(QStringLiteral("空きは") + numberText(needed) +
                                    QStringLiteral("バイト必要です！ Drive ") + drive +
                                    QStringLiteral("\\ の空きは") + numberText(free) + QStringLiteral("バイトです."));
        return false;
    }
    if (askBackup && QFileInfo::exists(path)) {
        const platform::Answer answer = platform::prompts().confirm(
            QStringLiteral("同名のファイルが存在しています。バックアップファイルを作りますか？"), boxTitle(),
            platform::Buttons::YesNoCancel);
        if (answer == platform::Answer::Cancel) return false;
        if (answer == platform::Answer::Yes) makeBackup(path);
    }
    try {
        m_document.SaveToFile(localPath(path));
    } catch (const std::exception& error) {
        fileError("ファイル %1 を作成できません", path, error);
    }
    m_document.SetModified(false);
    QFile::remove(autoBackupPath());
    refreshStatus();
    refreshCommands();
    return true;
}

void TfmTabulo::autoBackup() {
    if (m_document.Lines().Count() == 0 || !m_document.Modified()) return;
    try {
        m_document.SaveToFile(localPath(autoBackupPath()));
    } catch (const std::exception& error) {
        fileError("ファイル %1 を作成できません", autoBackupPath(), error);
    }
}

void TfmTabulo::readBackup() {
    const QString path = autoBackupPath();
    if (!QFileInfo::exists(path)) {
        platform::prompts().message(QStringLiteral("Err TbBackUp.$xt が見つかりません"));
        return;
    }
    // Unsaved text is not replaced unasked; the document keeps its name.
    if (m_document.Modified()) {
        const platform::Answer answer = platform::prompts().confirm(
            QStringLiteral("変更点を保存しますか?"), boxTitle(), platform::Buttons::YesNoCancel);
        if (answer == platform::Answer::Cancel) return;
        if (answer == platform::Answer::Yes && !saveDocumentAs()) return;
    }
    loadDocument(path);
    m_document.SetModified(true);  // the text is not the named file's
}

// Yes that does not end in a saved file keeps the window open: closing would
// lose the text the user asked to keep.
bool TfmTabulo::closeQuestion() {
    if (!m_document.Modified()) return true;
    const platform::Answer answer = platform::prompts().confirm(
        QStringLiteral("内容が変更されています。ファイルを保存しますか？"), boxTitle(),
        platform::Buttons::YesNoCancel);
    if (answer == platform::Answer::Cancel) return false;
    if (answer == platform::Answer::Yes) {
        bool saved = false;
        platform::runGuarded(platform::prompts(), [&] { saved = saveDocumentAs(); });
        return saved;
    }
    return true;
}

}  // namespace tabulo::app
