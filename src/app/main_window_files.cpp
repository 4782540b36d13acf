// New, open and save of the main window's document, and the close question.
#include <QFile>
#include <QFileInfo>

#include "app/main_window.h"
#include "platform/error_handler.h"
#include "platform/folders.h"

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

bool TfmTabulo::newDocument() {
    if (m_document.Modified()) {
        const platform::Answer answer = platform::prompts().confirm(
            QStringLiteral("変更点を保存しますか?"), boxTitle(), platform::Buttons::YesNoCancel);
        if (answer == platform::Answer::Cancel) return false;
        if (answer == platform::Answer::Yes) saveDocumentAs();
    }
    m_document.Lines().Clear();
    m_document.SetModified(false);
    m_documentName.clear();
    refreshStatus();
    refreshCommands();
    return true;
}

bool TfmTabulo::openFile(const QString& path) {
    m_document.LoadFromFile(localPath(path));
    m_document.SetModified(false);
    setDocumentName(QFileInfo(path).absoluteFilePath());
    refreshCommands();
    return true;
}

void TfmTabulo::openWithDialog() {
    if (!newDocument()) return;
    const std::optional<QString> path = platform::prompts().openFile(QString(), QString(), kFileFilter);
    if (path) openFile(*path);
}

static bool hasNoFile(const QString& name) {
    return name.isEmpty() || name == QStringLiteral("UnTitled") ||
           QFileInfo(name).completeBaseName() == QStringLiteral("ScriptTmp");
}

bool TfmTabulo::saveDocument() {
    if (m_document.Lines().Count() == 0) return false;
    if (hasNoFile(m_documentName)) return saveDocumentAs();
    refreshStatus();
    m_document.SaveToFile(localPath(m_documentName));
    m_document.SetModified(false);
    return true;
}

bool TfmTabulo::saveDocumentAs() {
    const QString start = hasNoFile(m_documentName) ? QString() : m_documentName;
    std::optional<QString> path = platform::prompts().saveFile(QString(), start, kFileFilter);
    if (!path) return false;
    QString name = *path;
    if (QFileInfo(name).suffix().isEmpty()) name += QStringLiteral(".txt");
    setDocumentName(name);
    m_document.SaveToFile(localPath(name));
    m_document.SetModified(false);
    return true;
}

bool TfmTabulo::closeQuestion() {
    if (!m_document.Modified()) return true;
    const platform::Answer answer = platform::prompts().confirm(
        QStringLiteral("内容が変更されています。ファイルを保存しますか？"), boxTitle(),
        platform::Buttons::YesNoCancel);
    if (answer == platform::Answer::Cancel) return false;
    if (answer == platform::Answer::Yes) platform::runGuarded(platform::prompts(), [this] { saveDocumentAs(); });
    return true;
}

}  // namespace tabulo::app
