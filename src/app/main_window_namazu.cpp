// Full-text search through the outside namazu program. The dialog takes the
// query; namazu runs directly (no shell) with the query as one EUC-JP word,
// its output going to the work file "T.$". The window waits with the user's
// input held off and the stop command answered; the result list, converted
// to Shift-JIS, opens in a second copy of the program in viewer mode, where
// F12 on a summary line opens the file it names.
#include <QComboBox>
#include <QFile>
#include <QStatusBar>

#include "app/main_window.h"
#include "app/window_placement.h"
#include "kanji/kanji_code.h"
#include "sjis/sjis_codec.h"
#include "platform/error_handler.h"
#include "platform/folders.h"
#include "platform/local_path.h"
#include "os/process/child_process.h"
#include "platform/run_shell.h"
#include "search/engine/command_words.h"
#include "search/engine/namazu_command.h"
#include "search/window/namazu_dialog.h"

#include <cerrno>
#include <cstring>

namespace tabulo::app {
namespace {

constexpr int kNamazuTop = 100;  // the dialog's top below the main window's
constexpr int kStatusMessageMs = 10000;

QString outputFile() {
    return QString::fromStdString(platform::workFolder()) + QStringLiteral("T.$");
}

QString debugScriptFile() {
    return QString::fromStdString(platform::programFolder()) + QStringLiteral("Tbdebug.sh");
}

bool writeFile(const QString& path, const std::string& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return file.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size());
}

std::string readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll().toStdString();
}

QString startFailureText(const os::ChildStartError& failure) {
    if (failure.step() == os::ChildStartError::Step::Find) {
        return QStringLiteral("namazu が見つかりません。namazu をインストールしてください (PATH: %1)")
            .arg(qEnvironmentVariable("PATH"));
    }
    if (failure.step() == os::ChildStartError::Step::Output) return QStringLiteral("can't open ") + outputFile();
    return QStringLiteral("namazu を実行できません: ") + QString::fromLocal8Bit(std::strerror(failure.error()));
}

}  // namespace

void TfmTabulo::registerNamazuCommands() {
    m_namazu = new search::TfmNamazu(this);
    m_namazu->setSearchHandler([this](const search::NamazuRequest& request) {
        platform::runGuarded(platform::prompts(), [&] { runNamazu(request); });
        refreshStatus();
        refreshCommands();
    });
    addCommand(QStringLiteral("Namazu"), [this](QAction*) { showNamazu(); });
}

void TfmTabulo::showNamazu() {
    const std::string selected = m_document.SelectedText();
    m_namazu->ComboBox1().setCurrentText(QString::fromStdString(sjis::SjisCodec::instance().toUtf8(selected)));
    m_namazu->adjustSize();
    m_namazu->move(placeDialog(frameGeometry(), m_namazu->frameGeometry(), kNamazuTop).topLeft());
    m_namazu->show();
    m_namazu->raise();
    m_namazu->activateWindow();
}

void TfmTabulo::runNamazu(const search::NamazuRequest& request) {
    const std::optional<std::string> sjisQuery =
        sjis::SjisCodec::instance().fromUtf16(request.query.toStdU16String());
    if (!sjisQuery) {
        platform::prompts().message(QStringLiteral("検索文字列に Shift-JIS で表せない文字があります"));
        return;
    }
    const std::string indexFolders = platform::toLocalPath(request.indexFolders);
    const std::vector<std::string> arguments =
        search::namazuArguments(platform::toLocalPath(request.options), kanji::sjis2euc(*sjisQuery), indexFolders);

    const QString output = outputFile();
    QFile::remove(output);
    const QString script = debugScriptFile();
    if (!writeFile(script, search::namazuDebugScript(arguments))) {
        platform::prompts().message(QStringLiteral("can't open ") + script);
        return;
    }

    os::ChildProcess child;
    try {
        child.start({arguments, search::namazuEnvironment(), platform::toLocalPath(output)});
    } catch (const os::ChildStartError& failure) {
        platform::prompts().beep();
        platform::prompts().message(startFailureText(failure));
        return;
    }
    os::ChildEnd result;
    waitForChild([&](const ChildPump& pump) {
        showProgress(QStringLiteral("Namazu 検索中"), QString());
        result = child.wait(pump);
    });
    if (result.how == os::ChildEnd::How::Stopped) {
        QFile::remove(output);
        statusBar()->showMessage(QStringLiteral("Namazu の検索を中止しました"), kStatusMessageMs);
        return;
    }

    const std::string found = readFile(output);
    if (found.empty()) {
        platform::prompts().beep();
        const std::optional<QString> command =
            platform::prompts().input(QStringLiteral("Debug"), QStringLiteral("処理に失敗しました。DOSプロンプトで実行"), script);
        // The script runs in a terminal, which waits for Enter at its end.
        if (command) runDebugCommand(*command);
        return;
    }
    if (search::namazuFoundNoIndex(found, search::splitCommandWords(indexFolders).size())) {
        QFile::remove(output);
        platform::prompts().beep();
        const QString folders =
            request.indexFolders.isEmpty() ? QStringLiteral("namazurc の既定の索引") : request.indexFolders;
        platform::prompts().message(QStringLiteral("Namazu の索引を開けません: ") + folders);
        return;
    }
    if (!writeFile(output, search::namazuResultDocument(found))) {
        platform::prompts().message(QStringLiteral("can't open ") + output);
        return;
    }
    platform::openInSecondCopy({output, true, 0});
}

}  // namespace tabulo::app
