// The main window's document files: new, open, save and save as with the
// free-space check and the backup question, the auto-backup and its
// read-back, opening from the recent-file history, and the close question.
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>
#include <unistd.h>

#include "app/backup_name.h"
#include "app/document_file.h"
#include "app/file_filter.h"
#include "app/main_window.h"
#include "platform/busy_cursor.h"
#include "app/open_file_histories.h"
#include "calc/result_format.h"
#include "platform/error_handler.h"
#include "os/files/regular_file.h"
#include "os/files/safe_save.h"
#include "platform/folders.h"
#include "platform/free_space.h"
#include "platform/local_path.h"
#include "platform/long_path.h"

namespace tabulo::app {

namespace {

std::string localPath(const QString& path) {
    return platform::toLocalPath(path);
}

QString boxTitle() {
    return QString::fromStdString(platform::programFileName());
}

QString historyKey() {
    return QString::fromStdString(platform::programFileName());
}

// The reason after the path in the model's file errors ("path: reason").
QString reasonOf(const std::exception& error, const QString& path) {
    std::string what = error.what();
    const std::string prefix = localPath(path) + ": ";
    if (what.rfind(prefix, 0) == 0) what.erase(0, prefix.size());
    return QString::fromUtf8(what);
}

[[noreturn]] void fileError(const char* format, const QString& path, const std::exception& error) {
    const QString text = QString::fromUtf8(format).arg(platform::displayPath(path)) + QStringLiteral(" (") +
                         reasonOf(error, path) +
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

// Keeps the old text under the backup name as a copy with the file's mode
// and owner, while the file itself stays in place until the new text has
// replaced it: a failed write then loses nothing. Not a second link: a file
// with several links is written in place, which would change that link too.
void makeBackup(const QString& path, const std::string& file) {
    const std::string backup = localPath(backupFileName(path));
    try {
        const std::string bytes = os::readRegularFile(file);
        ::unlink(backup.c_str());
        os::saveFileBytes(backup, bytes, os::SaveOptions{.privateFile = false, .attributesFrom = file,
                                                           .followLink = true, .recoveryFolder = {}});
    } catch (const std::exception& error) {
        fileError("ファイル %1 を作成できません", backupFileName(path), error);
    }
}

}  // namespace

void loadDocumentFile(editor::EditorModel& document, const QString& path) {
    try {
        document.LoadFromFile(localPath(path));
    } catch (const std::exception& error) {
        fileError("ファイル %1 は開けません", path, error);
    }
}

bool saveDocumentFile(editor::EditorModel& document, const QString& path, bool askBackup,
                      const std::function<bool(const std::string& target)>& confirmTarget,
                      const std::string* bytes, const os::SaveOptions& options) {
    const platform::FreeSpace space = platform::freeSpaceFor(localPath(path));
    const QString drive = QString::fromStdString(space.drive);
    // Both sizes are compared as single-precision reals, as they are shown.
    // The document's own text counts its breaks as two bytes each, as always.
    const float needed = static_cast<float>(bytes ? static_cast<std::int64_t>(bytes->size()) : document.textLength());
    if (!space.bytes) {
        const platform::Answer answer = platform::prompts().confirm(
            QStringLiteral("Drive ") + drive + QStringLiteral(" の空き容量が計算不能！書き込みますか？"), boxTitle(),
            platform::Buttons::YesNo);
        if (answer != platform::Answer::Yes) return false;
    } else if (const float free = static_cast<float>(*space.bytes); free <= needed) {
        platform::prompts().message(QStringLiteral("空きは") + numberText(needed) +
                                    QStringLiteral("バイト必要です！ Drive ") + drive +
                                    (drive.endsWith(QLatin1Char('/')) ? QString() : QStringLiteral("/")) +
                                    QStringLiteral(" の空きは") + numberText(free) + QStringLiteral("バイトです."));
        return false;
    }
    const std::string target = options.followLink ? os::resolveSaveTarget(localPath(path)) : localPath(path);
    // A folder, FIFO or device is refused before any question or backup; a
    // link that is not followed is replaced, whatever it points at.
    if (struct stat info {}; ::lstat(target.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISLNK(info.st_mode)) {
        fileError("ファイル %1 を作成できません", path, os::NotRegularFileError(localPath(path), info.st_mode));
    }
    if (confirmTarget && !confirmTarget(target)) return false;
    // Only a file of the name itself has old text to keep: not a link the
    // save replaces.
    if (struct stat info {}; askBackup && ::lstat(target.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
        const platform::Answer answer = platform::prompts().confirm(
            QStringLiteral("同名のファイルが存在しています。バックアップファイルを作りますか？"), boxTitle(),
            platform::Buttons::YesNoCancel);
        if (answer == platform::Answer::Cancel) return false;
        if (answer == platform::Answer::Yes) makeBackup(path, target);
    }
    try {
        if (bytes) {
            os::saveFileBytes(localPath(path), *bytes, options);
        } else {
            document.SaveToFile(localPath(path), options);
        }
    } catch (const std::exception& error) {
        fileError("ファイル %1 を作成できません", path, error);
    }
    return true;
}

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
    m_document.setLineBreakStyle(editor::LineBreakStyle::CrLf);
    m_document.setFileEncoding(editor::FileEncoding::ShiftJis);
    m_document.SetModified(false);
    m_cutFile.reset();
    forgetFile();
    m_documentName.clear();
    refreshStatus();
    refreshCommands();
    return true;
}

void TfmTabulo::loadDocument(const QString& path, bool offerUtf8, const QString& shownAs) {
    const std::string file = localPath(path);
    const QString shownName = platform::displayPath(shownAs.isEmpty() ? path : shownAs);
    editor::FileReadReport report;
    try {
        report = m_document.LoadFromFile(file);
    } catch (const std::exception& error) {
        fileError("ファイル %1 は開けません", path, error);
    }
    m_cutFile.reset();
    if (report.endMarkerOffset && report.bytesAfterEndMarker > 0) {
        struct stat info {};
        if (::stat(file.c_str(), &info) == 0) m_cutFile = CutFile{info.st_dev, info.st_ino, report.bytesAfterEndMarker};
        // The marker sits on the last line read, or starts a line of its own.
        const int lines = m_document.Lines().Count();
        const bool onLastLine = lines > 0 && !m_document.Lines().hasLineBreak(lines - 1);
        platform::prompts().message(
            QStringLiteral("ファイル %1 は %2 行目の EOF 文字 (1A) で終わりとして読み込みました。\n"
                           "その後ろの %3 バイトは表示されていません。")
                .arg(shownName)
                .arg(onLastLine ? lines : lines + 1)
                .arg(report.bytesAfterEndMarker));
    }
    if (report.breaks.mixed()) {
        const std::string_view name = editor::lineBreakName(report.breaks.convention());
        platform::prompts().message(
            QStringLiteral("ファイル %1 には種類の違う改行コードが混ざっています。\n"
                           "保存するときは最初の改行コード (%2) にそろえます。")
                .arg(shownName, QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()))));
    }
    if (offerUtf8) offerUtf8Conversion(path);
}

bool TfmTabulo::confirmDroppingCutBytes(const std::string& target) {
    if (!m_cutFile) return true;
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0 || info.st_dev != m_cutFile->device || info.st_ino != m_cutFile->inode) {
        return true;
    }
    const platform::Answer answer = platform::prompts().confirm(
        QStringLiteral("このファイルの EOF 文字 (1A) の後ろにある %1 バイトは、保存すると失われます。"
                       "上書きしますか？")
            .arg(m_cutFile->bytesAfterMarker),
        boxTitle(), platform::Buttons::YesNo);
    return answer == platform::Answer::Yes;
}

bool TfmTabulo::openFile(const QString& path) {
    const QString name = platform::fromLocalPath(platform::longPathName(localPath(path)));
    {
        platform::BusyCursor busy;
        loadDocument(name, true);
    }
    m_document.SetModified(false);
    setDocumentName(name);
    rememberFile(name);
    addToHistory(name);
    refreshCommands();
    return true;
}

void TfmTabulo::openWithDialog() {
    if (!newDocument()) return;
    const std::optional<QString> path = platform::prompts().openFile(QString(), QString(), mainFileFilter());
    if (path) openFile(*path);
}

void TfmTabulo::addToHistory(const QString& path) {
    if (path == QStringLiteral("UnTitled")) return;
    const QString folder = path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
    if (!m_workFolder.empty() && folder == QString::fromStdString(m_workFolder)) return;
    m_histories->Refresh(historyKey());
    m_histories->Add(path);
}

// Choosing a recent file asks about unsaved changes first, as opening any
// other file does, instead of replacing the modified text unasked.
void TfmTabulo::openHistoryEntry(const QString& path) {
    if (m_document.Modified() && !newDocument()) return;
    m_histories->Refresh(historyKey());
    loadDocument(path, true);
    m_histories->Add(path);
    setDocumentName(path);
    rememberFile(path);
    m_document.SetModified(false);
    refreshStatus();
    refreshCommands();
}

// Saving an emptied document writes nothing, so the file keeps its old
// text: the user is told rather than left believing it was saved.
bool TfmTabulo::saveDocument() {
    if (m_document.Lines().Count() == 0) {
        if (m_document.Modified()) {
            platform::prompts().message(
                hasNoFile(m_documentName)
                    ? QStringLiteral("文書が空なので保存しませんでした。")
                    : QStringLiteral("文書が空なので保存しませんでした。ファイル %1 は前の内容のままです。")
                          .arg(platform::displayPath(m_documentName)));
        }
        return false;
    }
    if (hasNoFile(m_documentName)) return saveDocumentAs();
    refreshStatus();
    return saveFile(m_documentName, false);
}

bool TfmTabulo::saveDocumentAs() {
    const QString start = hasNoFile(m_documentName) ? QString() : m_documentName;
    const std::optional<QString> path = platform::prompts().saveFile(QString(), start, mainFileFilter(),
                                                                        /*askOverwrite=*/false);  // the backup question asks
    if (!path) return false;
    QString name = platform::fromLocalPath(platform::longPathName(localPath(*path)));
    if (QFileInfo(name).suffix().isEmpty()) name += QStringLiteral(".txt");
    setDocumentName(name);
    const bool written = saveFile(name, true);
    addToHistory(name);
    return written;
}

bool TfmTabulo::saveFile(const QString& path, bool askBackup) {
    return writeDocument(path, askBackup, false);
}

bool TfmTabulo::writeDocument(const QString& path, bool askBackup, bool changeConfirmed) {
    os::SaveOptions options;
    bool followLink = true;
    if (!confirmChangeBehindWindow(path, changeConfirmed, followLink)) return false;
    options.followLink = followLink;
    options.recoveryFolder = platform::programFolder();
    // A document converted from UTF-8 is asked about its encoding first; when
    // the answer is UTF-8 those bytes replace the document's own text.
    editor::FileEncoding encoding = editor::FileEncoding::ShiftJis;
    std::optional<std::string> utf8Bytes;
    if (m_document.fileEncoding() == editor::FileEncoding::Utf8) {
        utf8Bytes = bytesToSave(encoding);
        if (!utf8Bytes) return false;
    }
    if (!saveDocumentFile(m_document, path, askBackup,
                          [this](const std::string& target) { return confirmDroppingCutBytes(target); },
                          encoding == editor::FileEncoding::Utf8 ? &*utf8Bytes : nullptr, options)) {
        return false;
    }
    rememberFile(path);
    m_document.setFileEncoding(encoding);
    m_document.SetModified(false);
    m_cutFile.reset();
    QFile::remove(autoBackupPath());
    refreshStatus();
    refreshCommands();
    return true;
}

void TfmTabulo::autoBackup() {
    if (m_document.Lines().Count() == 0 || !m_document.Modified()) return;
    try {
        m_document.SaveToFile(localPath(autoBackupPath()), os::SaveOptions{.privateFile = true, .attributesFrom = {},
                                                                              .followLink = true, .recoveryFolder = {}});
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
    // The backup holds the document's Shift-JIS text; the file it belongs to
    // keeps its encoding.
    const editor::FileEncoding encoding = m_document.fileEncoding();
    loadDocument(path);
    m_document.setFileEncoding(encoding);
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
