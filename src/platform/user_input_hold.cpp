#include "platform/user_input_hold.h"

#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

namespace tabulo::platform {
namespace {

bool isUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

bool mayReceiveInput(QObject* watched, const QWidget* modalAtStart) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget) return true;  // windows and the application itself pass events on to widgets
    for (QWidget* w = widget; w; w = w->parentWidget()) {
        if (qobject_cast<QMenu*>(w) || qobject_cast<QMenuBar*>(w)) return true;
    }
    const QWidget* modal = QApplication::activeModalWidget();
    return modal && modal != modalAtStart && widget->window() == modal;
}

}  // namespace

UserInputHold::UserInputHold() : m_modalAtStart(QApplication::activeModalWidget()) {
    qApp->installEventFilter(this);
}

UserInputHold::~UserInputHold() {
    qApp->removeEventFilter(this);
}

bool UserInputHold::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        if (mayReceiveInput(watched, m_modalAtStart)) return false;
        event->accept();  // the key stays with its widget, which then drops it: no shortcut fires
        return true;
    }
    return isUserInput(event->type()) && !mayReceiveInput(watched, m_modalAtStart);
}

}  // namespace tabulo::platform
