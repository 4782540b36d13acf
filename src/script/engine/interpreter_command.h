// What a script run hands to its interpreter: the argument list (the
// interpreter, its switches, the work script, the user's arguments at the
// head or the tail, the target file when there is one), the environment
// entries that make the interpreter read Shift-JIS as characters, and the
// debug script "Tbdebug.sh" that runs the same command in a terminal.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "script/engine/script_mode.h"

namespace tabulo::script {

struct ScriptCommand {
    ScriptMode mode = ScriptMode::Awk;
    std::string interpreter;  // a path or a word looked up on PATH, as it stands
    std::string scriptPath;   // the work script
    std::vector<std::string> arguments;
    ArgumentPlacement placement = ArgumentPlacement::Tail;
    std::optional<std::string> target;  // none: the script runs alone
};

// The interpreter's argument list. Ruby reads its script ("-Ks") and reads
// and writes its data ("-E Windows-31J:Windows-31J") as Windows-31J; the Xtr
// switch is glued to the script.
std::vector<std::string> interpreterArgv(const ScriptCommand& command);

// The locale gawk, sed and xtr run in. With `sjisLocale` false (the locale
// is not installed) they run in the C locale: bytes, not characters.
inline constexpr std::string_view kSjisLocale = "ja_JP.SJIS";
std::vector<std::string> interpreterEnvironment(ScriptMode mode, bool sjisLocale);

// True when the ja_JP.SJIS locale can be loaded on this machine.
bool sjisLocaleInstalled();

// The text of "Tbdebug.sh": the environment entries and the command with
// every word in single quotes, the arguments after the target, then a wait
// for Enter so the terminal stays open on the interpreter's messages.
std::string debugScriptText(const ScriptCommand& command, const std::vector<std::string>& environment);

}  // namespace tabulo::script
