// The main window's editing commands: undo and redo (menu, tool buttons,
// Ctrl+U), cut, copy and paste through the system clipboard (box text keeps
// its private type), select all and the box selection mode.
#include <QAction>

#include "app/main_window.h"
#include "editor/view/editor_view.h"

namespace tabulo::app {

void TfmTabulo::registerEditCommands() {
    const auto undo = [this](QAction*) { m_document.Undo(); };
    const auto redo = [this](QAction*) { m_document.Redo(); };
    addCommand(QStringLiteral("Undo1"), undo);
    addCommand(QStringLiteral("_Undo"), undo);
    addCommand(QStringLiteral("Repeat1"), redo);
    addCommand(QStringLiteral("_Redo"), redo);
    addCommand(QStringLiteral("Cut1"), [this](QAction*) { cutToClipboard(); });
    addCommand(QStringLiteral("Copy1"), [this](QAction*) { copyToClipboard(); });
    addCommand(QStringLiteral("ToCrip"), [this](QAction*) { copyToClipboard(); });
    addCommand(QStringLiteral("N20"), [this](QAction*) { pasteFromClipboard(); });
    addCommand(QStringLiteral("Clip2Text"), [this](QAction*) { pasteFromClipboard(); });
    addCommand(QStringLiteral("N22"), [this](QAction*) { m_document.SelectAll(); });
    addCommand(QStringLiteral("BoxMode1"), [this](QAction*) {
        m_document.SetBoxMode(!m_document.BoxMode());
        setChecked(QStringLiteral("BoxMode1"), m_document.BoxMode());
    });
}

void TfmTabulo::copyToClipboard() {
    m_editor->copyToClipboard();
    m_editor->setFocus();
}

void TfmTabulo::cutToClipboard() {
    m_editor->cutToClipboard();
}

void TfmTabulo::pasteFromClipboard() {
    m_editor->pasteFromClipboard();
    m_editor->setFocus();
}

}  // namespace tabulo::app
