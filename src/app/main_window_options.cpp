// The main window's settings: the options dialog and its commands, the
// options applied to the editor, the recent-file history and the
// auto-backup timer it owns, and what is stored when the window closes.
#include <QAction>
#include <QTimer>

#include "app/backup_name.h"
#include "app/main_window.h"
#include "app/open_file_histories.h"
#include "app/option_dialog.h"
#include "app/window_geometry.h"
#include "app/window_placement.h"
#include "app/work_files.h"
#include "editor/view/editor_view.h"
#include "platform/error_handler.h"
#include "os/files/safe_save.h"
#include "platform/folders.h"
#include "platform/local_path.h"
#include "platform/modal_dialogs.h"

namespace tabulo::app {
namespace {

// The interval the timer runs with until the options are applied.
constexpr int kDesignedBackupInterval = 30 * 1000;

QString historyKey() {
    return QString::fromStdString(platform::programFileName());
}

}  // namespace

void TfmTabulo::setUpFilesAndSettings() {
    m_option = new TfmOption(this);
    m_option->onPathsStored = [this] {
        applyAvailability(commandAvailability(m_option->paths(), qEnvironmentVariable("PATH").toStdString()));
    };
    m_runDialog = [](QDialog& dialog) { platform::runModal(dialog); };

    // The anchor of the recent files is a separator line, shown once there
    // are entries below it.
    QAction* anchor = action(QStringLiteral("History"));
    anchor->setSeparator(true);
    anchor->setVisible(false);
    m_histories = new TOpenFileHistories(this);
    m_histories->UpFileItem = anchor;
    m_histories->OnOpenFile = [this](QObject*, const QString& path) {
        platform::runGuarded(platform::prompts(), [&] { openHistoryEntry(path); });
        refreshStatus();
        refreshCommands();
    };
    platform::runGuarded(platform::prompts(), [this] { m_histories->Load(historyKey()); });
    // Saves killed in an earlier run may have left their temporary files
    // beside the files the user works on.
    for (const QString& path : m_histories->historyList()) {
        const std::string file = platform::toLocalPath(path);
        os::removeStaleSaveFiles(file.substr(0, file.rfind('/') + 1));
    }

    m_backupTimer = new QTimer(this);
    m_backupTimer->setObjectName(QStringLiteral("Timer1"));
    m_backupTimer->setInterval(kDesignedBackupInterval);
    connect(m_backupTimer, &QTimer::timeout, this, [this] {
        platform::runGuarded(platform::prompts(), [this] { autoBackup(); });
        refreshCommands();
    });
    m_backupTimer->start();

    addCommand(QStringLiteral("ShowOpt"), [this](QAction*) { showOptions(); });
    addCommand(QStringLiteral("SetFile"), [this](QAction*) { showOptions(); });
    addCommand(QStringLiteral("Del_History"), [this](QAction*) { m_histories->Clear(historyKey()); });
    addCommand(QStringLiteral("ReadBackup"), [this](QAction*) { readBackup(); });
}

void TfmTabulo::applyOptions() {
    const OptionSettings& options = m_option->settings();
    applyEditorOptions(*m_editor, options.main, options.WordWrap, options.EWordWrap);
    const int minutes = m_option->backupMinutes();
    if (minutes > 0) {
        m_backupTimer->start(minutes * 60 * 1000);
    } else {
        m_backupTimer->stop();
    }
    m_editor->viewport()->update();
}

void TfmTabulo::showOptions() {
    m_option->adjustSize();
    // The dialog has no frame until it is shown; it gets one like ours.
    const QPoint frameOffset = geometry().topLeft() - frameGeometry().topLeft();
    const QRect placed = placeDialog(frameGeometry(), QRect(QPoint(), m_option->size()), 100);
    m_option->setGeometry(QRect(placed.topLeft() + frameOffset, m_option->size()));
    setStayOnTop(*m_option, true);
    m_runDialog(*m_option);
    if (m_option->result() == QDialog::Accepted) applyOptionColours(*m_editor, m_option->settings().main);
    applyOptions();
    applyScriptEditorOptions();
}

void TfmTabulo::deleteWorkFilesNow() {
    // A refused work folder holds no files of this run.
    if (m_workFolderRefused) return;
    deleteWorkFiles(QString::fromStdString(m_workFolder.empty() ? platform::workFolder() : m_workFolder),
                    QString::fromStdString(platform::programFolder()), QString());
}

void TfmTabulo::storeSettingsAtClose() {
    deleteWorkFilesNow();
    m_histories->Save(historyKey());
    if (!m_viewerMode) storeGeometry(*this, objectName(), m_editor);
    m_option->writeIni();
}

}  // namespace tabulo::app
