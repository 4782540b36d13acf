#include "search/engine/namazu_command.h"

#include <algorithm>

#include "kanji/kanji_code.h"
#include "search/engine/command_words.h"
#include "search/engine/name_text.h"

namespace tabulo::search {
namespace {

constexpr std::string_view kCannotOpenIndex = "(can't open the index)";
constexpr std::string_view kBytesEnd = " bytes)";

// Where the size note of a summary line ("/dir/a.txt (1,234 bytes)") starts,
// or npos when the line is not one.
std::size_t summarySizeNote(std::string_view line) {
    if (line.empty() || line.front() != '/' || !line.ends_with(kBytesEnd)) return std::string_view::npos;
    const std::size_t open = line.rfind(" (");
    if (open == std::string_view::npos || open == 0) return std::string_view::npos;
    const std::string_view size = line.substr(open + 2, line.size() - open - 2 - kBytesEnd.size());
    const bool digits = !size.empty() && std::all_of(size.begin(), size.end(), [](char c) {
        return (c >= '0' && c <= '9') || c == ',';
    });
    return digits ? open : std::string_view::npos;
}

std::string documentLine(std::string_view line) {
    const std::size_t note = summarySizeNote(line);
    if (note == std::string_view::npos) return kanji::euc2sjis(line);
    return documentTextOfFileName(line.substr(0, note)) + std::string(line.substr(note));
}

}  // namespace

std::vector<std::string> namazuArguments(std::string_view options, std::string_view eucQuery,
                                         std::string_view indexFolders) {
    std::vector<std::string> arguments{std::string(kNamazuProgram)};
    for (std::string& word : splitCommandWords(options)) arguments.push_back(std::move(word));
    arguments.emplace_back("--");
    arguments.emplace_back(eucQuery);
    for (std::string& word : splitCommandWords(indexFolders)) arguments.push_back(std::move(word));
    return arguments;
}

const std::vector<std::string>& namazuEnvironment() {
    static const std::vector<std::string> changes = {"LANG=ja_JP.eucJP", "LC_ALL", "LC_CTYPE", "LC_MESSAGES",
                                                     "LANGUAGE"};
    return changes;
}

std::string namazuDebugScript(const std::vector<std::string>& arguments) {
    std::string unset;
    std::string assign;
    for (const std::string& change : namazuEnvironment()) {
        const std::size_t equals = change.find('=');
        if (equals == std::string::npos) {
            unset += " " + change;
        } else {
            assign += change.substr(0, equals + 1) + singleQuoted(change.substr(equals + 1)) + " ";
        }
    }
    std::string script = "#!/bin/sh\n";
    if (!unset.empty()) script += "unset" + unset + "\n";
    script += assign;
    for (std::size_t i = 0; i < arguments.size(); ++i) script += (i ? " " : "") + singleQuoted(arguments[i]);
    script += "\nprintf 'Press Enter to close . . . '\nread -r _\n";
    return script;
}

std::string namazuResultDocument(std::string_view output) {
    std::string document;
    document.reserve(output.size());
    while (!output.empty()) {
        const std::size_t end = output.find('\n');
        const std::string_view line = output.substr(0, end);
        document += documentLine(line);
        if (end == std::string_view::npos) break;
        document += '\n';
        output.remove_prefix(end + 1);
    }
    return document;
}

bool namazuFoundNoIndex(std::string_view output, std::size_t indexFolders) {
    std::size_t failures = 0;
    for (std::size_t at = output.find(kCannotOpenIndex); at != std::string_view::npos;
         at = output.find(kCannotOpenIndex, at + kCannotOpenIndex.size())) {
        ++failures;
    }
    return failures > 0 && failures >= std::max<std::size_t>(indexFolders, 1);
}

}  // namespace tabulo::search
