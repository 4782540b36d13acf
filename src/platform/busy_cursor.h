// The busy cursor for the time of one piece of work: shown when made, taken
// back when the scope ends, also when an error leaves it.
#pragma once

#include <QApplication>

namespace tabulo::platform {

class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace tabulo::platform
