#include "platform/minimised_windows.h"

#include <QApplication>

namespace tabulo::platform {

MinimisedWindows::MinimisedWindows() : m_active(QApplication::activeWindow()) {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible() || window->isMinimized()) continue;
        m_windows.emplace_back(window, window->windowState());
        window->showMinimized();
    }
}

MinimisedWindows::~MinimisedWindows() {
    for (const auto& [window, state] : m_windows) {
        if (window) window->setWindowState(state);
    }
    if (m_active) {
        m_active->raise();
        m_active->activateWindow();
    }
}

}  // namespace tabulo::platform
