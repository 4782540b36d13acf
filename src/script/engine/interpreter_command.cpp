#include "script/engine/interpreter_command.h"

#include <clocale>
#include <locale.h>

#include "search/engine/command_words.h"

namespace tabulo::script {
namespace {

// The words before the arguments at the head: the interpreter and the
// options it always gets.
std::vector<std::string> programWords(const ScriptCommand& command) {
    std::vector<std::string> words{command.interpreter};
    if (command.mode == ScriptMode::Ruby) {
        words.emplace_back("-Ks");  // the script itself is Windows-31J text too
        words.emplace_back("-E");
        words.emplace_back("Windows-31J:Windows-31J");
    }
    return words;
}

void appendScript(std::vector<std::string>& words, const ScriptCommand& command) {
    const std::string_view switchWord = modeInfo(command.mode).scriptSwitch;
    if (command.mode == ScriptMode::Xtr) {
        words.push_back(std::string(switchWord) + command.scriptPath);
        return;
    }
    if (!switchWord.empty()) words.emplace_back(switchWord);
    words.push_back(command.scriptPath);
}

void append(std::vector<std::string>& words, const std::vector<std::string>& more) {
    words.insert(words.end(), more.begin(), more.end());
}

}  // namespace

std::vector<std::string> interpreterArgv(const ScriptCommand& command) {
    std::vector<std::string> words = programWords(command);
    if (command.placement == ArgumentPlacement::Head) append(words, command.arguments);
    appendScript(words, command);
    if (command.placement == ArgumentPlacement::Tail) append(words, command.arguments);
    if (command.target) words.push_back(*command.target);
    return words;
}

std::vector<std::string> interpreterEnvironment(ScriptMode mode, bool sjisLocale) {
    if (mode == ScriptMode::Ruby) return {};
    return {std::string("LC_ALL=") + (sjisLocale ? std::string(kSjisLocale) : std::string("C"))};
}

bool sjisLocaleInstalled() {
    const locale_t loaded = ::newlocale(LC_ALL_MASK, std::string(kSjisLocale).c_str(), static_cast<locale_t>(0));
    if (loaded == static_cast<locale_t>(0)) return false;
    ::freelocale(loaded);
    return true;
}

std::string debugScriptText(const ScriptCommand& command, const std::vector<std::string>& environment) {
    std::vector<std::string> words = programWords(command);
    appendScript(words, command);
    if (command.target) words.push_back(*command.target);
    append(words, command.arguments);

    std::string text = "#!/bin/sh\n";
    for (const std::string& entry : environment) {
        const auto equals = entry.find('=');
        text += entry.substr(0, equals + 1) + search::singleQuoted(entry.substr(equals + 1)) + ' ';
    }
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (i > 0) text += ' ';
        text += search::singleQuoted(words[i]);
    }
    text += "\nprintf '%s' '[Enter] '\nread -r _\n";
    return text;
}

}  // namespace tabulo::script
