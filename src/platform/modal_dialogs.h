// The one rule every modal box, question, file dialog and secondary dialog of
// the program follows on a desktop: it opens above all of the program's
// windows, the stay-on-top ones included, and takes the keyboard focus; when
// it closes, the focus goes back to the window it was opened from. A box with
// no visible window to belong to opens centred on the screen, any other one
// over its opener. QtPrompts and the dialog runners of the windows show their
// dialogs through runModal(), so no caller handles stacking on its own.
#pragma once

class QDialog;
class QWidget;

namespace tabulo::platform {

// The visible window a dialog opened now belongs to: the active window of
// the program, else `fallback`'s window when it is visible, else null.
QWidget* openerWindow(QWidget* fallback = nullptr);

// True while one of the program's visible windows, other than `except`,
// stays above the other windows.
bool stayOnTopWindowShown(const QWidget* except = nullptr);

// Shows the dialog modally by the rule above and returns QDialog::exec()'s
// result. A dialog the caller has placed keeps its place; one that was never
// moved is centred over the opener, or on the screen when there is none.
int runModal(QDialog& dialog);

// Lets events run until the window has been placed on the screen by the
// window manager (at most a second), for a box that must appear over a
// window that was only just shown.
void waitUntilOnScreen(QWidget& window);

}  // namespace tabulo::platform
