#include "app/window_geometry.h"

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
        window.move(*left, *top);
        window.resize(*width, *height);
    }
}

void storeGeometry(const QWidget& window, const QString& formName, const editor::TEditor* fontOf) {
    const QScreen* screen = window.screen();
    const bool maximised = window.isMaximized() ||
                           (screen && window.frameGeometry().size() == screen->availableGeometry().size());
    if (maximised) return;
    platform::SettingsStore store;
    const QString key = geometryKeyPath(formName);
    const QRect frame = window.frameGeometry();
    store.writeInteger(key, QStringLiteral("WindowTop"), frame.top());
    store.writeInteger(key, QStringLiteral("WindowLeft"), frame.left());
    store.writeInteger(key, QStringLiteral("WindowWidth"), window.width());
    store.writeInteger(key, QStringLiteral("WindowHeight"), window.height());
    if (fontOf) {
        const QFont font = fontOf->editorFont();
        store.writeString(key, QStringLiteral("FontName"), font.family());
        store.writeInteger(key, QStringLiteral("FontSize"), font.pointSize());
    }
}

}  // namespace tabulo::app
