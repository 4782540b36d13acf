// Soft-wrap settings of the editor (its `WrapOption` property). The
// character lists hold Shift-JIS text; a listed character is matched as a
// whole one- or two-byte character.
#pragma once

#include <string>

namespace tabulo::editor {

struct TEditorWrapOption {
    int WrapByte = 80;  // wrap width in columns
    // Characters that may not start a row:
    // 、。，．・？！゛゜ヽヾゝゞ々ー）］｝」』!),.:;?]}｡｣､･ｰﾞﾟ
    std::string FollowStr =
        "\x81\x41\x81\x42\x81\x43\x81\x44\x81\x45\x81\x48\x81\x49\x81\x4A\x81\x4B\x81\x52"
        "\x81\x53\x81\x54\x81\x55\x81\x58\x81\x5B\x81\x6A\x81\x6E\x81\x70\x81\x76\x81\x78"
        "!),.:;?]}\xA1\xA3\xA4\xA5\xB0\xDE\xDF";
    // Characters that may not end a row: （［｛「『([{｢
    std::string LeadStr = "\x81\x69\x81\x6D\x81\x6F\x81\x75\x81\x77([{\xA2";
    // Punctuation that may hang past the wrap column: 、。，．,.｡､
    std::string PunctuationStr = "\x81\x41\x81\x42\x81\x43\x81\x44,.\xA1\xA4";
    bool Leading = false;            // apply the start and end rules
    bool FollowPunctuation = false;  // let punctuation hang
    bool FollowRetMark = false;      // a line filling its last row exactly keeps its break there
    bool WordBreak = false;          // break single-byte text at delimiters

    // The main window's editor: width 250 and the Japanese line-break rules on.
    static TEditorWrapOption mainWindowDefaults() {
        TEditorWrapOption o;
        o.WrapByte = 250;
        o.Leading = true;
        o.FollowPunctuation = true;
        o.FollowRetMark = true;
        return o;
    }

    bool operator==(const TEditorWrapOption&) const = default;
};

}  // namespace tabulo::editor
