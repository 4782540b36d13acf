#include "app/user_input_hold.h"

#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

namespace tabulo::app {
namespace {

bool isUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::Drop:
    case QEvent::InputMethod:
        return true;
    default:
        return false;
    }
}

bool insideAllowedWidget(const QObject* watched) {
    const QWidget* modal = QApplication::activeModalWidget();
    for (const QObject* o = watched; o; o = o->parent()) {
        if (qobject_cast<const QMenu*>(o) || qobject_cast<const QMenuBar*>(o)) return true;
        if (modal && o == modal) return true;
    }
    return false;
}

}  // namespace

UserInputHold::UserInputHold() { qApp->installEventFilter(this); }

UserInputHold::~UserInputHold() { qApp->removeEventFilter(this); }

bool UserInputHold::eventFilter(QObject* watched, QEvent* event) {
    if (isUserInput(event->type()) && watched->isWidgetType() && !insideAllowedWidget(watched)) return true;
    return QObject::eventFilter(watched, event);
}

}  // namespace tabulo::app
