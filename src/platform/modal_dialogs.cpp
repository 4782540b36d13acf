// Stacking is left to the window manager: a box gets the stay-on-top state
// itself while a stay-on-top window of the program is shown, which puts it
// in that window's layer, above it because it is mapped later. Releasing the
// stay-on-top windows around the box instead would change their flags, which
// re-creates them (a modal one drops out of its modal loop) and moves them
// to the bottom of their layer.
#include "platform/modal_dialogs.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QPointer>
#include <QScreen>
#include <QThread>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace tabulo::platform {

QWidget* openerWindow(QWidget* fallback) {
    if (QWidget* active = QApplication::activeWindow(); active && active->isVisible()) return active;
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible()) return modal;
    if (fallback && fallback->window()->isVisible()) return fallback->window();
    return nullptr;
}

bool stayOnTopWindowShown(const QWidget* except) {
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(), [except](const QWidget* window) {
        return window != except && window->isVisible() && window->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    });
}

int runModal(QDialog& dialog) {
    const QPointer<QWidget> opener = openerWindow(dialog.parentWidget());
    const bool wasOnTop = dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    const bool onTop = wasOnTop || stayOnTopWindowShown(&dialog);
    if (onTop != wasOnTop) dialog.setWindowFlag(Qt::WindowStaysOnTopHint, onTop);  // hidden: nothing moves

    // A dialog made by one window and opened from another (the graph
    // window's print set-up belongs to the main window) belongs to its
    // opener while it is open: window managers keep a dialog above the
    // window it belongs to.
    if (opener && opener != &dialog) {
        dialog.winId();  // the native window, so that it can belong to another
        if (QWindow* handle = dialog.windowHandle()) handle->setTransientParent(opener->windowHandle());
    }

    // Qt centres a dialog that was never moved over its parent, which is at
    // the screen's corner until it is shown: without a visible parent the
    // dialog goes to the middle of the screen.
    const QWidget* parent = dialog.parentWidget();
    if (!dialog.testAttribute(Qt::WA_Moved) && !(parent && parent->isVisible())) {
        const QScreen* screen = opener ? opener->screen() : QGuiApplication::primaryScreen();
        if (screen) {
            dialog.adjustSize();
            dialog.move(screen->availableGeometry().center() - dialog.rect().center());
        }
    }

    const int result = dialog.exec();

    if (onTop != wasOnTop) dialog.setWindowFlag(Qt::WindowStaysOnTopHint, wasOnTop);
    if (opener && opener->isVisible()) opener->activateWindow();
    return result;
}

void waitUntilOnScreen(QWidget& window) {
    constexpr int kPatienceMs = 1000;
    const QDeadlineTimer deadline(kPatienceMs);
    const QWindow* handle = window.windowHandle();
    while (handle && !handle->isExposed() && !deadline.hasExpired()) {
        QCoreApplication::processEvents();
        QThread::msleep(5);
    }
}

}  // namespace tabulo::platform
