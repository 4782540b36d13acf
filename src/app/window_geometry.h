// Window position and size, and the main editor's font, kept per window in
// the settings store under "\Software\Tabulo\" + the window's form name.
#pragma once

#include <QString>

class QWidget;

namespace tabulo::editor {
class TEditor;
}

namespace tabulo::app {

// "\Software\Tabulo\" + formName.
QString geometryKeyPath(const QString& formName);

// The four window values are the client area (without the window manager's
// frame). Reads "WindowTop", "WindowLeft", "WindowWidth", "WindowHeight" and, with
// an editor, "FontName" and "FontSize" with the proportional-font spacing.
// A window that has nothing stored yet (the first start) keeps its designed
// position and size; so does an editor without a stored font. Without
// `withPlace` only the font is read.
void readGeometry(QWidget& window, const QString& formName, editor::TEditor* fontOf = nullptr,
                  bool withPlace = true);

// Stores the same values, except for a maximised window (its size is the
// screen's, not the one to come back to), which leaves the stored values
// as they were.
void storeGeometry(const QWidget& window, const QString& formName, const editor::TEditor* fontOf = nullptr);

}  // namespace tabulo::app
