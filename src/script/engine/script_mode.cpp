#include "script/engine/script_mode.h"

#include <array>

namespace tabulo::script {
namespace {

// gawk and sed read the script after "-f"; ruby takes it as its first word;
// the Xtr interpreter glues it to "-@".
constexpr std::array<ScriptModeInfo, 4> kModes{{
    {"Awk", "awk", "gawk", "-f", "S.awk", " Awkモード ", ".awk"},
    {"Ruby", "ruby", "ruby", "", "S.rb", " Rubyモード ", ".rb"},
    {"Sed", "sed", "sed", "-f", "S.sed", " Sedモード ", ".sed"},
    {"XTR", "xtr", "xtr", "-@", "S.xtr", " Xtrモード ", ".xtr"},
}};

std::string_view trimSpacesAndTabs(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::string lowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

}  // namespace

const ScriptModeInfo& modeInfo(ScriptMode mode) { return kModes.at(static_cast<std::size_t>(mode)); }

std::optional<ScriptMode> modeFromCommandName(std::string_view name) {
    constexpr std::array<std::pair<std::string_view, ScriptMode>, 4> kWords{{
        {"Awk", ScriptMode::Awk},
        {"Ruby", ScriptMode::Ruby},
        {"Sed", ScriptMode::Sed},
        {"Xtr", ScriptMode::Xtr},
    }};
    for (const auto& [word, mode] : kWords) {
        if (name.find(word) != std::string_view::npos) return mode;
    }
    return std::nullopt;
}

std::string resolveInterpreter(ScriptMode mode, std::string_view storedPath) {
    const ScriptModeInfo& info = modeInfo(mode);
    if (lowerAscii(storedPath).find(info.testWord) != std::string::npos) {
        return std::string(trimSpacesAndTabs(storedPath));
    }
    return std::string(info.programWord);
}

std::string statusPanelText(ScriptMode mode, std::string_view interpreter, std::string_view scriptFileName,
                            std::string_view arguments, ArgumentPlacement placement, bool mainWindowHasSelection) {
    const ScriptModeInfo& info = modeInfo(mode);
    const auto slash = interpreter.find_last_of('/');
    std::string command(slash == std::string_view::npos ? interpreter : interpreter.substr(slash + 1));
    if (!info.scriptSwitch.empty()) {
        command += ' ';
        command += info.scriptSwitch;
    }

    std::string text(info.statusText);
    text += "【 ";
    text += command;
    text += ' ';
    if (placement == ArgumentPlacement::Tail && !arguments.empty()) {
        text += scriptFileName;
        text += ' ';
        text += arguments;
    } else {
        if (!arguments.empty()) {
            text += arguments;
            text += ' ';
        }
        text += scriptFileName;
    }
    text += mainWindowHasSelection ? "  ReversText  > Tabulo" : "  > Tabulo";
    text += " 】";
    return text;
}

}  // namespace tabulo::script
