// What makes the window feel at home on a Linux desktop: Qt's own dialogs
// and buttons in Japanese, an icon theme for the tool bar, and the
// program's own icon.
#pragma once

#include <QIcon>

class QCoreApplication;
class QTranslator;

namespace tabulo::app {

// Loads Qt's Japanese translation (standard buttons, file and font dialogs)
// into the application. Returns the installed translator, owned by `app`,
// or nullptr when the translation is not installed on this machine.
QTranslator* installQtJapanese(QCoreApplication& app);

// Outside a full desktop (a bare X server, the offscreen platform) Qt names
// no icon theme; then an installed freedesktop theme is chosen so the tool
// bar still shows icons. A desktop's own theme is kept, with the same
// installed theme as its fallback for names it lacks.
void chooseIconTheme();

// The program's icon: from the icon theme when installed, else the copy
// built into the program.
QIcon applicationIcon();

}  // namespace tabulo::app
