// The clipboard text exchange of the editor. The document is Shift-JIS and
// the clipboard Unicode, so text is converted on the way out and in; two
// private types let the program's own copies come back byte for byte and keep
// the box-selection flag.
//
// Reading: when the plain text is exactly the Unicode of the private
// Shift-JIS bytes, those bytes are taken (so characters that several codes
// share keep their own codes). Otherwise the plain text is converted; a
// character with no Shift-JIS form becomes the geta mark 〓 (paste never
// refuses text; refusing a character is the business of typing; the paste
// tells the user how many were replaced) and CR LF, lone LF and lone CR all
// become CR LF, the document's line break.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace tabulo::platform {

struct ClipboardText {
    std::string sjis;
    bool box = false;  // copied from a box selection
    std::size_t replaced = 0;  // characters with no Shift-JIS form, now 〓
};

// The MIME types besides text/plain. The box type holds the same text as the
// plain text, in UTF-8 followed by a zero byte.
inline constexpr const char* kSjisMimeType = "application/x-tabulo-sjis";
inline constexpr const char* kBoxMimeType = "application/x-tabulo-box";

void setClipboardText(const std::string& sjis, bool box);

// std::nullopt when the clipboard holds no plain text.
std::optional<ClipboardText> clipboardText();

// True when the clipboard holds non-empty plain text.
bool clipboardHasText();

}  // namespace tabulo::platform
