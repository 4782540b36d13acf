// TfmTabulo: the main window. It owns the document and its editor, builds
// the menus, tool bar and context menu from the command table, runs the
// commands, and recomputes the status bar and command enabling after every
// key, click and selection change.
#pragma once

#include <QHash>
#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>

#include "app/command_availability.h"
#include "calc/expr_compo.h"
#include "editor/model/document_ops.h"
#include "editor/model/editor_model.h"

class QAction;
class QLabel;
class QMenu;
class QToolBar;

namespace tabulo::editor {
class TEditor;
}

namespace tabulo::app {

class TfmTabulo : public QMainWindow {
    Q_OBJECT
public:
    // `arguments` are the command-line arguments after the program name.
    explicit TfmTabulo(const QStringList& arguments, QWidget* parent = nullptr);
    ~TfmTabulo() override;

    editor::EditorModel& document() { return m_document; }
    editor::TEditor& editor() { return *m_editor; }
    editor::BulkEdit& bulkEdit() { return m_bulk; }

    // A menu item, menu, context-menu item or tool button by its name.
    QAction* action(const QString& name) const;
    // What the enabling rules say for an item, before pending commands are
    // held off.
    bool ruleEnabled(const QString& name) const;
    QString panelText(int panel) const;
    QToolBar* toolBar() const { return m_toolBar; }
    QMenu* contextMenu() const { return m_popup; }

    QString documentName() const { return m_documentName; }
    void setDocumentName(const QString& name);
    bool viewerMode() const { return m_viewerMode; }
    int fileArgumentCount() const { return m_fileArguments.size(); }
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

    void refreshStatus();
    void refreshCommands();
    void applyAvailability(const CommandAvailability& availability);

    // Documents: the new-document command; false when the user cancelled.
    bool newDocument();
    bool saveDocument();
    bool saveDocumentAs();
    bool openFile(const QString& path);
    // The close question: false keeps the window open.
    bool closeQuestion();

    // The line calculation (F9, Ctrl+Enter); false when the caret's line
    // holds no expression.
    bool calculateLine();
    void runLineCalculation();
    calc::TExprCompo& evaluator() { return m_calc; }
    // The graph specification accepted from a graph-tag line, kept for the
    // graph window.
    const std::string& graphSpecification() const { return m_graphSpecification; }

    // Bulk edit bracket of long commands, wired to the stop item.
    void beginBulkEdit(bool clearSelection);
    void endBulkEdit(bool restore);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Each group of commands registers its handlers by command name (the
    // menu item a tool button stands for); the handler gets the action that
    // was triggered. Running one is guarded by the general error handler and
    // followed by both refreshes.
    using CommandHandler = std::function<void(QAction* source)>;
    void addCommand(const QString& name, CommandHandler handler);
    void registerCommands();      // main_window_commands.cpp
    void registerFileCommands();  // main_window_files.cpp
    void registerEditCommands();  // main_window_edit.cpp

    void buildMenus();
    void buildToolBar();
    void buildStatusBar();
    void connectCommands();
    void formShow();
    void setRule(const QString& name, bool enabled);
    void setChecked(const QString& name, bool checked);
    void runCommand(const QString& name, QAction* source);
    void afterInput();

    // Command handlers.
    void toggleWrap(QAction* source);
    void toggleAutoIndent(QAction* source);
    void toggleSelectAll(QAction* source);
    void chooseFont();
    void insertLine();
    void deleteLine();
    void goToRow();
    void stopCommand();
    void showHelpText();
    void copyToClipboard();
    void cutToClipboard();
    void pasteFromClipboard();
    void openWithDialog();
    void flipOverwrite();

    editor::EditorModel m_document;
    editor::TEditor* m_editor = nullptr;
    editor::BulkEdit m_bulk;
    QHash<QString, QAction*> m_actions;
    QHash<QString, CommandHandler> m_handlers;
    QHash<QString, QMenu*> m_menus;
    QMenu* m_popup = nullptr;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_panels[3] = {};
    QString m_documentName;
    QStringList m_fileArguments;
    bool m_viewerMode = false;
    bool m_shown = false;
    int m_tag = 0;
    CommandAvailability m_availability;
    calc::TExprCompo m_calc;
    std::string m_graphSpecification;
    std::string m_workFolder;
};

}  // namespace tabulo::app
