// The clipboard text exchange of the editor. The document is Shift-JIS and
// the clipboard Unicode, so text is converted on the way out and in; two
// private types let the program's own copies come back byte for byte and keep
// the box-selection flag.
//
// Writing: the plain text (UTF-8 for other programs) has LF line breaks,
// the convention of the desktop; the private Shift-JIS type keeps the
// document's bytes, CR LF included.
//
// Reading: when the plain text is exactly the Unicode of the private
// Shift-JIS bytes (with LF for CR LF), those bytes are taken, so a copy
// inside the program comes back byte for byte (and characters that several
// codes share keep their own codes). Otherwise the plain text comes in as
// any incoming text does (incoming_text.h: composed, and 〓 for what
// Shift-JIS lacks, counted so the paste can tell the user), and CR LF, lone
// LF and lone CR all become CR LF, the document's line break (a save writes
// the document's own convention).
//
// Both the clipboard and the X11 PRIMARY selection (the text last selected,
// pasted with the middle button) go through here, and so does text dropped
// on the editor.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

class QMimeData;

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

enum class ClipboardMode { Clipboard, Primary };

void setClipboardText(const std::string& sjis, bool box, ClipboardMode mode = ClipboardMode::Clipboard);

// std::nullopt when the clipboard holds no plain text.
std::optional<ClipboardText> clipboardText(ClipboardMode mode = ClipboardMode::Clipboard);

// The same reading of any MIME data: text dropped on the editor.
std::optional<ClipboardText> textOfMimeData(const QMimeData* data);

// Whether the platform has a PRIMARY selection (X11 has, others do not).
bool hasPrimarySelection();

// True when the clipboard holds non-empty plain text.
bool clipboardHasText();

}  // namespace tabulo::platform
