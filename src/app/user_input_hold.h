// Holds off the user's keys, clicks and wheel turns while a command waits
// for an outside program and lets events run, so the windows repaint and the
// desktop never sees them frozen, yet nothing the user does changes the
// document under the running program. Menus stay open to the user (the stop
// command is a menu item; the window takes no other command meanwhile), and
// so does a modal box (the stop question).
#pragma once

#include <QObject>

namespace tabulo::app {

class UserInputHold : public QObject {
public:
    UserInputHold();
    ~UserInputHold() override;
    UserInputHold(const UserInputHold&) = delete;
    UserInputHold& operator=(const UserInputHold&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace tabulo::app
