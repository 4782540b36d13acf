#include "script/engine/script_arguments.h"

#include "search/engine/command_words.h"
#include "textops/trim_blanks.h"

namespace tabulo::script {

// Spaces, tabs and double quotes are never trail bytes of a Shift-JIS
// character, so the words split the same whether read as bytes or as
// characters.
ScriptArguments splitArguments(std::string_view sjisText) {
    const std::string_view text = textops::trimBlanks(sjisText);
    ScriptArguments result;
    result.words = search::splitCommandWords(text);
    const std::size_t open = text.find('"');
    if (open == std::string_view::npos) return result;
    const std::size_t close = text.find('"', open + 1);
    if (close == std::string_view::npos) {
        result.missingQuote = true;
    } else {
        result.quotedName = std::string(text.substr(open + 1, close - open - 1));
    }
    return result;
}

}  // namespace tabulo::script
