#include "app/window_placement.h"

#include <QWidget>

namespace tabulo::app {

QRect placeDialog(const QRect& mainWindow, const QRect& dialog, int a) {
    int left = mainWindow.left() + mainWindow.width() / 2 - dialog.width() / 2;
    int top = mainWindow.top() + mainWindow.height() / 2 - dialog.height() / 2;
    if (a > 0) {
        top = mainWindow.top() + a;
    } else {
        if (mainWindow.height() < dialog.height()) top = mainWindow.top() + 10;
        if (mainWindow.width() < dialog.width()) left = mainWindow.left() + 10;
    }
    return QRect(left, top, dialog.width(), dialog.height());
}

void setStayOnTop(QWidget& window, bool on) {
    const QRect geometry = window.geometry();
    const bool visible = window.isVisible();
    window.setWindowFlag(Qt::WindowStaysOnTopHint, on);
    window.setGeometry(geometry);
    if (visible) window.show();  // changing window flags hides a window
}

}  // namespace tabulo::app
