// TfmOption, the options dialog "環境設定": the display options of the main
// editor and the script editor, the auto-backup interval, and the
// interpreter and postal-file paths. It keeps the stored settings (read
// from the INI file when it is created, changed by OK, written at exit);
// its five path fields and the auto-backup spin box are live settings that
// other commands read directly.
#pragma once

#include <QDialog>
#include <functional>

#include "app/command_availability.h"
#include "app/option_settings.h"

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace tabulo::app {

class TfmOption : public QDialog {
    Q_OBJECT
public:
    explicit TfmOption(QWidget* parent = nullptr);

    // The stored settings.
    const OptionSettings& settings() const { return m_settings; }
    // The auto-backup spin box's current value, in minutes.
    int backupMinutes() const;
    // The five path fields as they stand.
    ProgramPaths paths() const;

    // Reads "Awk", "Ruby", "Sed", "Xtr", "Mail" from the settings store into
    // the fields; an empty Ruby with "ruby" on PATH becomes "ruby".
    void readPaths();
    // Writes the stored settings to the section "Option" of the INI file.
    void writeIni() const;

    // Run after "レジストリーに記憶" has stored the paths.
    std::function<void()> onPathsStored;

    // The controls, by their names, for the main window and tests.
    QTabWidget* tabs() const { return m_tabs; }

    // Button actions, also reachable through the buttons.
    void okClick();
    void cancelClick();
    void storePathsClick();
    void browseClick(int field);

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct EditorControls {
        QCheckBox* tab = nullptr;
        QCheckBox* eof = nullptr;
        QCheckBox* ret = nullptr;
        QCheckBox* dbSpace = nullptr;
        QCheckBox* underline = nullptr;
        QCheckBox* tabIndent = nullptr;
        QCheckBox* leftBar = nullptr;
        QButtonGroup* tabWidth = nullptr;
        QLineEdit* commenter = nullptr;
        QLineEdit* quoteChar = nullptr;
    };
    QWidget* buildEditorTab(EditorControls& c, const QString& prefix, bool mainEditor);
    QWidget* buildPathsTab();
    void fillControls();
    void fillEditor(EditorControls& c, const EditorOptions& o);
    EditorOptions readEditor(const EditorControls& c) const;

    OptionSettings m_settings;
    QTabWidget* m_tabs = nullptr;
    EditorControls m_main;
    EditorControls m_script;
    QCheckBox* m_keyWordBold = nullptr;
    QCheckBox* m_wordWrap = nullptr;
    QCheckBox* m_eWordWrap = nullptr;
    QSpinBox* m_backUp = nullptr;
    QLineEdit* m_pathFields[5] = {};
    QPlainTextEdit* m_memoPath = nullptr;
};

}  // namespace tabulo::app
