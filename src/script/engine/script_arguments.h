// The run dialog's argument text split into the words the interpreter gets,
// by the program's one rule for typed command words: words are separated by
// spaces and tabs; a double-quoted part belongs to its word as it stands
// (spaces and all) and loses its quotes; nothing is expanded, no variable, no
// wildcard, no backslash. The text is Shift-JIS: blanks at either end
// (full-width spaces too) are trimmed first.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tabulo::script {

struct ScriptArguments {
    std::vector<std::string> words;
    // The text of the first double-quoted part, which names a file the user
    // means to pass (checked by the caller: " が見つかりません" when missing).
    std::optional<std::string> quotedName;
    // A double quote was left open (its stretch runs to the end of the
    // text); the user is told "\" が不足です".
    bool missingQuote = false;
};

ScriptArguments splitArguments(std::string_view sjisText);

}  // namespace tabulo::script
