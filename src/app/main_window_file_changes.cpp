// Files changed behind the window: another program may rewrite the open
// file, replace it, delete it or put a symbolic link in its place. The
// window remembers the file's identity and state (device, inode, size,
// modification time, link or not) when it reads or writes it, compares at
// every save and whenever the window is activated, and asks one question
// before its text goes over a file that changed. A link that was not there
// when the file was read is never followed: the saved file replaces it.
#include <QEvent>
#include <QMetaObject>

#include "app/main_window.h"
#include "platform/error_handler.h"
#include "platform/folders.h"
#include "platform/local_path.h"

namespace tabulo::app {

namespace {

QString whatHappened(os::FileChange change) {
    switch (change) {
    case os::FileChange::Rewritten: return QStringLiteral("書き換えられました");
    case os::FileChange::Replaced: return QStringLiteral("別のファイルに置き換えられました");
    case os::FileChange::Deleted: return QStringLiteral("削除されました");
    case os::FileChange::BecameLink: return QStringLiteral("シンボリックリンクに置き換えられました");
    case os::FileChange::Created: return QStringLiteral("作成されました");
    case os::FileChange::None: break;
    }
    return {};
}

os::FileState stateOf(const QString& name) {
    return os::fileStateOf(platform::toLocalPath(name));
}

}  // namespace

void TfmTabulo::rememberFile(const QString& name) {
    m_knownFile = KnownFile{name, stateOf(name)};
    m_askedState.reset();
}

void TfmTabulo::forgetFile() {
    m_knownFile.reset();
    m_askedState.reset();
}

bool TfmTabulo::askAboutChange(const QString& path, os::FileChange change) {
    const platform::Answer answer = platform::prompts().confirm(
        QStringLiteral("ファイル %1 は他のプログラムで%2。\nこのウィンドウの内容で保存しますか？")
            .arg(platform::displayPath(path), whatHappened(change)),
        QString::fromStdString(platform::programFileName()), platform::Buttons::YesNo);
    return answer == platform::Answer::Yes;
}

bool TfmTabulo::confirmChangeBehindWindow(const QString& path, bool confirmed, bool& followLink) {
    followLink = true;  // a name the window did not read (save as) is followed as it stands
    if (!m_knownFile || m_knownFile->name != path) return true;
    const os::FileChange change = os::changeBetween(m_knownFile->state, stateOf(path));
    followLink = m_knownFile->state.link && (change == os::FileChange::None || change == os::FileChange::Rewritten);
    return change == os::FileChange::None || confirmed || askAboutChange(path, change);
}

bool TfmTabulo::checkFileBehindWindow() {
    // A long command or an outside program is running: its progress stays.
    if (!m_knownFile || m_waitingForChild || m_bulk.active()) return false;
    const os::FileState now = stateOf(m_knownFile->name);
    const os::FileChange change = os::changeBetween(m_knownFile->state, now);
    if (change == os::FileChange::None) return false;
    if (m_askedState && os::changeBetween(*m_askedState, now) == os::FileChange::None) return false;
    // Remembered before asking: the question's own closing activates the
    // window again.
    m_askedState = now;
    if (askAboutChange(m_knownFile->name, change)) writeDocument(m_knownFile->name, false, true);
    return true;
}

void TfmTabulo::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow() || !m_shown) return;
    // Not inside the event: the question is a modal box of its own.
    QMetaObject::invokeMethod(
        this,
        [this] {
            bool asked = false;
            platform::runGuarded(platform::prompts(), [&] { asked = checkFileBehindWindow(); });
            if (!asked) return;
            refreshStatus();
            refreshCommands();
        },
        Qt::QueuedConnection);
}

}  // namespace tabulo::app
