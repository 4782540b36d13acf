// For one scope the window waits for an outside program: every menu but
// the one with the stop command is disabled (their items, such as the recent
// files, do not all run as commands), and the flag holds off the commands;
// both are undone when the wait ends, however it ends.
#pragma once

#include <QAction>
#include <QList>
#include <QMenuBar>

namespace tabulo::app {

class ChildWait {
public:
    ChildWait(bool& waiting, QMenuBar& menus) : m_waiting(waiting) {
        m_waiting = true;
        for (QAction* menu : menus.actions()) {
            if (menu->isEnabled() && menu->objectName() != kStopMenu) {
                menu->setEnabled(false);
                m_disabled << menu;
            }
        }
    }
    ~ChildWait() {
        for (QAction* menu : m_disabled) menu->setEnabled(true);
        m_waiting = false;
    }
    ChildWait(const ChildWait&) = delete;
    ChildWait& operator=(const ChildWait&) = delete;

private:
    static constexpr QLatin1StringView kStopMenu{"Show1"};
    bool& m_waiting;
    QList<QAction*> m_disabled;
};

}  // namespace tabulo::app
