// TfmRun: the run dialog where every script run begins. The user picks a
// script file of the mode (the list shows the scripts of its folder), types
// arguments, chooses where they go and where the result goes, and runs the
// script directly on the main window's line range or opens it in the script
// editor. The dialog remembers the last script of each mode and the output
// choice under its own settings key; its choices live in the shared
// ScriptSession, which the script editor reads at every run.
#pragma once

#include <QDialog>
#include <functional>

#include "script/window/script_session.h"

class QButtonGroup;
class QComboBox;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace tabulo::script {

class TfmRun : public QDialog {
    Q_OBJECT
public:
    TfmRun(ScriptSession& session, QWidget* parent);

    // The direct run of the main window over its line range.
    void setRunHandler(std::function<void()> handler) { m_run = std::move(handler); }
    // Opens the chosen script in the script editor (the editor loads it and
    // its keywords and is shown).
    void setEditAndDebugHandler(std::function<void()> handler) { m_editAndDebug = std::move(handler); }
    // Widens the main window's selection to whole lines when the dialog
    // becomes active.
    void setActivationHandler(std::function<void()> handler) { m_activated = std::move(handler); }

    // Shows the dialog for the session's mode: the mode's last script, its
    // folder's scripts in the list and the last output choice.
    void showForMode(ScriptMode mode);

    // The work copy of the chosen script under the mode's work script name;
    // enables the run buttons when a script is chosen.
    void prepareScriptCopy();
    // The scripts of the path's folder (those with its extension, or the
    // mode's) in the list; the path itself chosen when it exists.
    void fillScriptList(const QString& path);
    void chooseScript();
    void directRun();
    void editAndDebug();

    // The file dialog's filter, its extensions in lower and upper case.
    static QString scriptFilter();

public slots:
    void reject() override;

protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ScriptMode mode() const { return m_session.mode.value_or(ScriptMode::Awk); }
    void copyToWorkScript();
    void storeSettings();
    QString workFolder() const;

    ScriptSession& m_session;
    QComboBox* m_scripts = nullptr;
    QPushButton* m_choose = nullptr;
    QLineEdit* m_arguments = nullptr;
    QButtonGroup* m_placement = nullptr;
    QButtonGroup* m_destination = nullptr;
    QToolButton* m_runButton = nullptr;
    QToolButton* m_debugButton = nullptr;
    QPushButton* m_cancel = nullptr;
    std::function<void()> m_run;
    std::function<void()> m_editAndDebug;
    std::function<void()> m_activated;
    bool m_running = false;
};

}  // namespace tabulo::script
