// Saves cut short: a file with several hard links is written in place, and
// until that write is complete its old text is kept in a recovery copy in
// the program folder. A copy found at start belongs to a save that did not
// finish; the user is told which file it was and may put the old text back.
#include "app/main_window.h"
#include "os/files/recovery_copy.h"
#include "os/files/safe_save.h"
#include "platform/error_handler.h"
#include "platform/folders.h"
#include "platform/local_path.h"

namespace tabulo::app {

void TfmTabulo::offerRecoveryCopies() {
    const std::string folder = platform::programFolder();
    // Recovery copies still being made when the save was killed.
    os::removeStaleSaveFiles(folder);
    for (const os::RecoveryCopy& recovery : os::findRecoveryCopies(folder)) {
        const QString name = platform::displayPath(platform::fromLocalPath(recovery.document));
        const platform::Answer answer = platform::prompts().confirm(
            QStringLiteral("ファイル %1 の保存が前回、途中で中断されました。\n"
                           "保存する前の内容に戻しますか？（いいえ：保存する前の内容を捨てます）")
                .arg(name),
            QString::fromStdString(platform::programFileName()), platform::Buttons::YesNo);
        if (answer != platform::Answer::Yes) {
            os::dropRecoveryCopy(recovery.copy);
            continue;
        }
        try {
            os::restoreRecoveryCopy(recovery);
        } catch (const std::exception& error) {
            // The copy stays for the next start.
            std::string reason = error.what();
            if (reason.rfind(recovery.document + ": ", 0) == 0) reason.erase(0, recovery.document.size() + 2);
            platform::reportError(platform::prompts(),
                                  std::runtime_error(QStringLiteral("ファイル %1 を作成できません (%2)")
                                                         .arg(name, QString::fromUtf8(reason))
                                                         .toStdString()));
        }
    }
}

}  // namespace tabulo::app
