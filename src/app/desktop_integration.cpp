#include "app/desktop_integration.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QTranslator>

namespace tabulo::app {

namespace {

// The themes tried, in order, when the desktop names none.
const char* const kIconThemes[] = {"breeze", "Adwaita"};

bool themeInstalled(const QString& name) {
    for (const QString& folder : QIcon::themeSearchPaths()) {
        if (QFile::exists(QDir(folder).filePath(name + QStringLiteral("/index.theme")))) return true;
    }
    return false;
}

// Some platform plugins (the offscreen one among them) search only the
// built-in icons; the desktop's icon folders are added so that the themes
// the set-up installs are found everywhere.
void addDesktopIconFolders() {
    QStringList paths = QIcon::themeSearchPaths();
    QString dataDirs = qEnvironmentVariable("XDG_DATA_DIRS");
    if (dataDirs.isEmpty()) dataDirs = QStringLiteral("/usr/local/share:/usr/share");
    QStringList folders{QDir::homePath() + QStringLiteral("/.local/share/icons")};
    for (const QString& dir : dataDirs.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        folders << dir + QStringLiteral("/icons");
    }
    bool changed = false;
    for (const QString& folder : folders) {
        if (!paths.contains(folder) && QDir(folder).exists()) {
            paths << folder;
            changed = true;
        }
    }
    if (changed) QIcon::setThemeSearchPaths(paths);
}

}  // namespace

QTranslator* installQtJapanese(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return nullptr;
    }
    QCoreApplication::installTranslator(translator);
    return translator;
}

void chooseIconTheme() {
    addDesktopIconFolders();
    QString installed;
    for (const char* name : kIconThemes) {
        if (themeInstalled(QString::fromLatin1(name))) {
            installed = QString::fromLatin1(name);
            break;
        }
    }
    if (installed.isEmpty()) return;
    const QString current = QIcon::themeName();
    if (current.isEmpty() || current == QStringLiteral("hicolor")) {
        QIcon::setThemeName(installed);
    } else if (QIcon::fallbackThemeName().isEmpty() || QIcon::fallbackThemeName() == QStringLiteral("hicolor")) {
        QIcon::setFallbackThemeName(installed);
    }
}

QIcon applicationIcon() {
    return QIcon::fromTheme(QStringLiteral("tabulo"), QIcon(QStringLiteral(":/icons/tabulo.svg")));
}

}  // namespace tabulo::app
