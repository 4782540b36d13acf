// The program's windows minimised for one scope, while the user works in
// another program that the window waits for, and each brought back to the
// state it had (normal, maximised) when the scope ends, also when an error
// leaves it. Hidden windows and windows the user had minimised stay so.
#pragma once

#include <QPointer>
#include <QWidget>

#include <utility>
#include <vector>

namespace tabulo::platform {

class MinimisedWindows {
public:
    MinimisedWindows();
    ~MinimisedWindows();
    MinimisedWindows(const MinimisedWindows&) = delete;
    MinimisedWindows& operator=(const MinimisedWindows&) = delete;

private:
    std::vector<std::pair<QPointer<QWidget>, Qt::WindowStates>> m_windows;
    QPointer<QWidget> m_active;
};

}  // namespace tabulo::platform
