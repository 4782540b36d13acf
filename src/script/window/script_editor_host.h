// What the script editor takes from the program around it: the services it
// shares with the main window (display options, go to row, reading and
// writing files with the program's checks and messages, window placement,
// the options dialog) and the main window's state a run depends on. The
// main window fills one; tests may fill their own.
#pragma once

#include <QString>
#include <functional>
#include <string>

#include "script/engine/script_mode.h"

class QWidget;

namespace tabulo::editor {
class EditorModel;
class TEditor;
}  // namespace tabulo::editor

namespace tabulo::script {

struct ScriptEditorHost {
    // The options of the tab "スクリプト画面", applied to the script editor.
    std::function<void(editor::TEditor&)> applyDisplayOptions;
    // The go-to-row question and move, on the script editor's text.
    std::function<void(editor::EditorModel&)> goToRow;
    // Loads a file into the model; throws with the program's file error.
    std::function<void(editor::EditorModel&, const QString& path)> loadFile;
    // Writes the model to a path after the free-space check and, with
    // askBackup, the backup question; false when nothing was written.
    // Throws with the program's file error.
    std::function<bool(editor::EditorModel&, const QString& path, bool askBackup)> saveFile;
    // The interpreter path stored in the options for a mode.
    std::function<std::string(ScriptMode)> interpreterSetting;
    // Widens the main window's selection to whole lines; whether it has one.
    std::function<bool()> widenMainSelection;
    std::function<void()> showOptions;
    // Position and size under the window's own settings key.
    std::function<void(QWidget&)> restorePlacement;
    std::function<void(const QWidget&)> storePlacement;
    // The main editor, whose font the script editor copies when shown.
    std::function<const editor::TEditor*()> mainEditor;
};

}  // namespace tabulo::script
