// The test desktop as its window manager reports it (xprop on the root
// window), keys typed through the X server (xdotool) to whatever window has
// the focus, as a user's keys would be, and a watcher that checks a modal box
// while the code that opened it waits for it.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <vector>

namespace tabulo::testing {

// Client windows from the bottom to the top (_NET_CLIENT_LIST_STACKING).
std::vector<unsigned long> stackingOrder();
// The window with the focus (_NET_ACTIVE_WINDOW); 0 when there is none.
unsigned long activeWindow();
// Types keys in xdotool's notation ("Escape", "alt+F4").
void typeKeys(const char* keys);
// Lets events run until `window` is the active window for the window
// manager and for the program (at most 5 s).
bool waitUntilActive(const QWidget& window);
// Saves a picture of the screen as NAME.png into $TABULO_DESKTOP_SHOTS when
// that is set.
void screenshot(const QString& name);

// What BoxWatch saw of the box.
struct SeenBox {
    bool opened = false;
    bool topmost = false;  // last in the stacking list
    bool focused = false;  // the active window
    QString title;
    QString text;  // a message box's text
};

// Watches for the next modal window other than the one open when it starts.
// Once the box is on the screen it waits (at most 5 s) until the window
// manager has it on top and active, and then hands it to `act`, which
// closes it (typing Escape by default). A box that never gets there is
// closed directly, so the test goes on and reports what it saw.
class BoxWatch : public QObject {
public:
    using Act = std::function<void(QWidget& box)>;
    explicit BoxWatch(Act act = {}, QString shot = {});

    const SeenBox& seen() const { return m_seen; }

private:
    void poll();

    Act m_act;
    QString m_shot;
    QPointer<QWidget> m_before;
    QPointer<QWidget> m_box;
    QTimer m_timer;
    int m_checks = 0;
    SeenBox m_seen;
};

}  // namespace tabulo::testing
