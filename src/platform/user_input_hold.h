// Holds off the user's keys, clicks and keyboard shortcuts while a window
// waits for something outside it (an outside program), yet lets the event
// loop run so the window repaints and the desktop never takes it for frozen.
// Menus and the menu bar stay usable, and so does a modal box opened during
// the hold (the stop question), so the user can still choose the stop
// command; which menus and commands may run then is the caller's decision.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace tabulo::platform {

class UserInputHold : public QObject {
public:
    // Installs itself on the application for its lifetime.
    UserInputHold();
    ~UserInputHold() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_modalAtStart;
};

}  // namespace tabulo::platform
