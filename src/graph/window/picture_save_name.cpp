#include "graph/window/picture_save_name.h"

#include <QFileInfo>

#include "graph/window/picture_file.h"
#include "platform/error_handler.h"

namespace tabulo::graph {

QString askPictureSaveName() {
    platform::Prompts& prompts = platform::prompts();
    std::optional<QString> chosen = prompts.saveFile(QString(), QString(), QString::fromUtf8(kPictureSaveFilter),
                                                 /*askOverwrite=*/false);  // asked below
    if (!chosen || chosen->isEmpty()) return {};
    QString name = *chosen;
    // The prompts do not report the filter entry the user picked; the first
    // (JPEG) is the one a dialog starts with.
    if (QFileInfo(name).suffix().isEmpty()) name += QStringLiteral(".JPG");
    if (pictureFormatOf(name) == PictureFormat::Unsupported) {
        prompts.message(QStringLiteral("サポートしていないフォーマットです！"));
        return {};
    }
    if (QFileInfo::exists(name)) {
        const platform::Answer answer = prompts.confirm(QStringLiteral("同名のファイルが存在しています。上書きしますか？"),
                                                        QString(), platform::Buttons::YesCancel);
        if (answer != platform::Answer::Yes) return {};
    }
    return name;
}

}  // namespace tabulo::graph
