// The tag jump (F12): what the caret's line names and how it opens. A line
// may name a file (a grep listing's file line, a full-text search summary
// line "path (24 bytes)" or "path size (...)", a typed path) or a command
// word. The summary markers cut the path's end; the old drive form "/C|/dir"
// is rewritten to "C:\dir"; every other text is a Unix path as it stands.
// A target that is a text file opens in a second copy of this program,
// anything else goes to the desktop's opener. On a listing's "Line=" line
// the file of that entry (the line above) opens with the caret on the line.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tabulo::search {

// The target text of a line by the marker rules, still in document bytes;
// empty when the line is blank.
std::string tagJumpText(std::string_view line);

enum class TagJumpAction { None, OpenText, RunShell };

struct TagJump {
    TagJumpAction action = TagJumpAction::None;
    std::string target;    // file-system bytes
    std::size_t line = 0;  // OpenText: the line to show, 0 for the top
};

// caretLine is the caret's logical line, lineAbove the line before it when
// there is one (a listing's "Line=" line names its file there).
TagJump planTagJump(std::string_view caretLine, std::optional<std::string_view> lineAbove);

}  // namespace tabulo::search
