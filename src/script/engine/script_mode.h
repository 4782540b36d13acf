// The four script modes and what each one means: its menu item, the word
// an interpreter path must contain to be used, the program run when the
// path is left empty, the interpreter's script switch, the work script's
// name and the status text of the script editor.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tabulo::script {

// The values are the modes' stored numbers (window tags, settings).
enum class ScriptMode : int { Awk = 0, Ruby = 1, Sed = 2, Xtr = 3 };

// Where the run dialog's arguments go on the interpreter's command line.
enum class ArgumentPlacement : int { Head = 0, Tail = 1 };

// Where a run's result goes.
enum class OutputDestination : int { MinimisedSecondCopy = 0, SecondCopy = 1, Clipboard = 2 };

struct ScriptModeInfo {
    std::string_view menuItem;     // "Awk", "Ruby", "Sed", "XTR"
    std::string_view testWord;     // lower case; a usable interpreter path contains it
    std::string_view programWord;  // the interpreter found on PATH when no path is set
    std::string_view scriptSwitch; // the option before the script file, empty for none
    std::string_view workScript;   // "S.awk", ...
    std::string_view statusText;   // UTF-8, with its surrounding spaces
    std::string_view extension;    // ".awk", ...
};

const ScriptModeInfo& modeInfo(ScriptMode mode);

// The mode a command or button name stands for: the first of "Awk", "Ruby",
// "Sed", "Xtr" (in this order) that the name contains; none for other names.
std::optional<ScriptMode> modeFromCommandName(std::string_view name);

// The interpreter a run starts: the stored path trimmed of spaces and tabs
// when its lower-case form contains the mode's test word, else the mode's
// program word (looked up on PATH when it is started).
std::string resolveInterpreter(ScriptMode mode, std::string_view storedPath);

// The script editor's fourth status panel: the mode's status text, then
// "【 ", the interpreter's file name and switch, the arguments and the
// script's file name in their run order, the target marker and " 】".
std::string statusPanelText(ScriptMode mode, std::string_view interpreter, std::string_view scriptFileName,
                            std::string_view arguments, ArgumentPlacement placement, bool mainWindowHasSelection);

}  // namespace tabulo::script
