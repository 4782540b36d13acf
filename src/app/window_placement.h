// Where secondary windows appear, and keeping a window above the others.
#pragma once

#include <QRect>

class QWidget;

namespace tabulo::app {

// The dialog's rectangle centred on the main window; with a > 0 its top is
// the main window's top + a; with a <= 0 a dialog larger than the main
// window moves to 10 pixels inside its top or left edge.
QRect placeDialog(const QRect& mainWindow, const QRect& dialog, int a);

// Makes the window stay above the others, or releases it, keeping its
// position and size.
void setStayOnTop(QWidget& window, bool on);

}  // namespace tabulo::app
