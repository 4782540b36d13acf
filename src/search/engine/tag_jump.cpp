#include "search/engine/tag_jump.h"

#include <algorithm>

#include "search/engine/file_kind.h"
#include "search/engine/grep_listing.h"
#include "search/engine/name_text.h"
#include "textops/trim_blanks.h"

namespace tabulo::search {

namespace {

bool isDriveForm(std::string_view s) {
    return s.size() >= 4 && s[0] == '/' && ((s[1] >= 'A' && s[1] <= 'Z') || (s[1] >= 'a' && s[1] <= 'z')) &&
           s[2] == '|' && s[3] == '/';
}

// The file-system name of a document path: converted to UTF-8, or the bytes
// as they stand when only they name an existing entry.
std::string existingName(std::string_view text) {
    std::string converted = fileNameOfDocumentText(text);
    if (fileKindOf(converted) == FileKind::Missing && fileKindOf(std::string(text)) != FileKind::Missing) {
        return std::string(text);
    }
    return converted;
}

}  // namespace

std::string tagJumpText(std::string_view line) {
    const std::string_view s = textops::trimBlanks(line);
    std::string_view text = s;
    if (const auto size = s.find(" size ("); size != std::string_view::npos) {
        text = s.substr(0, size);
    } else if (const auto open = s.find(" ("); open != std::string_view::npos &&
                                               s.find(" bytes)") != std::string_view::npos) {
        // A summary line ends in its size note; a name such as "Copy (2).txt"
        // keeps its own " (" then.
        text = s.ends_with(" bytes)") ? s.substr(0, s.rfind(" (")) : s.substr(0, open);
    }
    if (!isDriveForm(text)) return std::string(text);
    std::string drive(text.substr(1));
    std::replace(drive.begin(), drive.end(), '/', '\\');
    std::replace(drive.begin(), drive.end(), '|', ':');
    return drive;
}

TagJump planTagJump(std::string_view caretLine, std::optional<std::string_view> lineAbove) {
    if (const auto number = listingLineNumber(caretLine); number && lineAbove) {
        const std::string file = existingName(tagJumpText(*lineAbove));
        if (!file.empty() && isTextFile(file)) return {TagJumpAction::OpenText, file, *number};
    }
    const std::string text = tagJumpText(caretLine);
    if (text.empty()) return {};
    const std::string target = existingName(text);
    if (isTextFile(target)) return {TagJumpAction::OpenText, target, 0};
    return {TagJumpAction::RunShell, target, 0};
}

}  // namespace tabulo::search
