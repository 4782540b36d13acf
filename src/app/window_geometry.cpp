#include "app/window_geometry.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "app/font_spacing.h"
#include "editor/view/editor_view.h"
#include "platform/settings_store.h"

namespace tabulo::app {

QString geometryKeyPath(const QString& formName) {
    return QStringLiteral("\\Software\\Tabulo\\") + formName;
}

void readGeometry(QWidget& window, const QString& formName, editor::TEditor* fontOf, bool withPlace) {
    const platform::SettingsStore store;
    const QString key = geometryKeyPath(formName);
    if (fontOf) {
        const std::optional<QString> name = store.readString(key, QStringLiteral("FontName"));
        const std::optional<int> size = store.readInteger(key, QStringLiteral("FontSize"));
        if (name && size && *size > 0) {
            QFont font = fontOf->editorFont();
            font.setFamily(*name);
            font.setPointSize(*size);
            fontOf->setEditorFont(font);
            fontOf->setCharacterMargin(characterSpacingFor(name->toStdString(), *size));
        }
    }
    if (!withPlace) return;
    const std::optional<int> top = store.readInteger(key, QStringLiteral("WindowTop"));
    const std::optional<int> left = store.readInteger(key, QStringLiteral("WindowLeft"));
    const std::optional<int> width = store.readInteger(key, QStringLiteral("WindowWidth"));
    const std::optional<int> height = store.readInteger(key, QStringLiteral("WindowHeight"));
    if (top && left && width && height && *width > 0 && *height > 0) {
        window.setGeometry(*left, *top, *width, *height);
    }
}

void storeGeometry(const QWidget& window, const QString& formName, const editor::TEditor* fontOf) {
    const QScreen* screen = window.screen();
    const bool maximised = window.isMaximized() ||
                           (screen && window.frameGeometry().size() == screen->availableGeometry().size());
    if (maximised) return;
    platform::SettingsStore store;
    const QString key = geometryKeyPath(formName);
    // The client area, both ways: the frame is the window manager's and is
    // not known when the window is placed again, so storing the frame's
    // corner moved the window up by its title bar at every run.
    const QRect client = window.geometry();
    store.writeInteger(key, QStringLiteral("WindowTop"), client.top());
    store.writeInteger(key, QStringLiteral("WindowLeft"), client.left());
    store.writeInteger(key, QStringLiteral("WindowWidth"), client.width());
    store.writeInteger(key, QStringLiteral("WindowHeight"), client.height());
    if (fontOf) {
        const QFont font = fontOf->editorFont();
        // A font given in pixels has no point size of its own (-1).
        const int points = font.pointSize() > 0 ? font.pointSize() : QFontInfo(font).pointSize();
        store.writeString(key, QStringLiteral("FontName"), font.family());
        store.writeInteger(key, QStringLiteral("FontSize"), points);
    }
}

}  // namespace tabulo::app
