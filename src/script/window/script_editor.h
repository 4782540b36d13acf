// TfmAwk: the script editor window (`fmAwk`). A second, smaller editor in
// which the user writes an Awk, Ruby, Sed or Xtr script, opens and saves it,
// and runs the selected lines of it over the main window's line range. The
// mode, the script file and the run choices live in the ScriptSession it
// shares with the run dialog; the run itself is the main window's, reached
// through the run hook.
#pragma once

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "editor/model/editor_model.h"
#include "script/window/script_editor_host.h"
#include "script/window/script_session.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QToolBar;

namespace tabulo::editor {
class TEditor;
}
namespace tabulo::search {
class EditorSearch;
class TfmFind;
}  // namespace tabulo::search

namespace tabulo::script {

class ElidedLabel;

class TfmAwk : public QMainWindow {
    Q_OBJECT
public:
    // `find` is the program's find dialog; this window's editor becomes its
    // target for tag 1.
    TfmAwk(ScriptSession& session, ScriptEditorHost host, search::TfmFind& find, QWidget* parent = nullptr);
    ~TfmAwk() override;

    editor::EditorModel& document() { return m_document; }
    editor::TEditor& editor() { return *m_editor; }
    search::EditorSearch& editorSearch() { return *m_search; }
    ScriptSession& session() { return m_session; }

    // A tool button (by its name, "sbRun" ...) or a context-menu item (by
    // its caption).
    QAction* action(const QString& name) const;
    QMenu* contextMenu() const { return m_popup; }
    QLineEdit& argumentField() { return *m_argument; }
    // Status panels 0 to 3.
    QString panelText(int panel) const;

    // Runs after the selected lines are written to the work script: the
    // main window's run of the pipeline.
    void setRunHook(std::function<void()> hook) { m_runHook = std::move(hook); }

    // Adds the reserved words of the keyword file serving the script's
    // extension to the editor's list (the list only grows).
    void loadKeywords(const QString& scriptPath);
    const std::vector<std::string>& reservedWords() const { return m_reservedWords; }

    // The status panel and caption for the current mode, script, arguments
    // and main-window selection.
    void prepare();
    // Writes the selected lines (all after a Yes when nothing is selected)
    // to the mode's work script and runs it; false when nothing ran.
    bool runSelection();
    void openScript();
    bool saveScriptAs();
    bool saveScriptTo(const QString& path);
    // Ctrl+S: writes to the script file, or asks for a name when it has no
    // extension.
    void saveScript();
    void showFind();
    // The close question; false keeps the window open.
    bool closeQuestion();

    void refreshStatus();
    void refreshButtons();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildToolBar();
    void buildContextMenu();
    void buildStatusBar();
    // A tool button; an empty command leaves the connection to the caller.
    QAction* addButton(const QString& name, const QString& hint, const QString& glyph, const char* icon,
                       std::function<void()> command);
    // Runs a command with its errors shown, then refreshes panels and buttons.
    void guarded(const std::function<void()>& command);
    void formShow();
    void argumentChanged(const QString& text);
    void toggleSelectAll(bool pressed);
    void flipOverwrite();
    bool writeScriptSelection();
    bool checkScriptFile();
    QString workScriptPath() const;
    void deleteWorkFiles();

    ScriptSession& m_session;
    ScriptEditorHost m_host;
    // The dialog may go first when the main window is destroyed.
    QPointer<search::TfmFind> m_find;
    editor::EditorModel m_document;
    editor::TEditor* m_editor = nullptr;
    std::unique_ptr<search::EditorSearch> m_search;
    QToolBar* m_toolBar = nullptr;
    QMenu* m_popup = nullptr;
    QLineEdit* m_argument = nullptr;
    QLabel* m_panels[4] = {};
    ElidedLabel* m_statusText = nullptr;  // m_panels[3]
    QHash<QString, QAction*> m_actions;
    std::vector<std::string> m_reservedWords;
    std::function<void()> m_runHook;
};

}  // namespace tabulo::script
