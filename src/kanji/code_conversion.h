// What the code conversion command does to the lines of a line range, and
// what the character code command shows. The window runs convertLine over
// the range inside its bulk edit (with progress and the stop request);
// tabulo-cli runs convertLineTo over each line, or streams from a named code.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "kanji/mail_encoding.h"

namespace tabulo::kanji {

// The items of the code conversion menu.
enum class TargetCode { ShiftJis, Jis, Euc, UUencode, BinHex, Base64 };

// The command joins the lines of one encoded result with these seven
// characters instead of a real line break, so the result of each document
// line stays one document line.
inline constexpr std::string_view kCommandSeparator = "#$0D#0A";

// One document line (without its line break) as the command converts it:
// each line is detected on its own, and a line that is 7-bit, undecided
// between EUC and Shift-JIS or already in the target code stays unchanged.
std::string convertLine(std::string_view line, TargetCode target);
// The same, appended to out.
void convertLineTo(std::string_view line, TargetCode target, std::string& out);

// The encodings the decoding items of the menu undo.
enum class MailEncoding { Base64, UUencode, BinHex };

// One document line decoded: every kCommandSeparator in it becomes a line
// break again first, so this inverts convertLine with the matching encoding.
// The decoded bytes may hold line breaks of their own.
std::string decodeLine(std::string_view line, MailEncoding encoding);

// decodeLine(line, MailEncoding::Base64) over a line that arrives in pieces
// cut anywhere (a separator or group cut by a piece's end is completed by
// the next piece), in memory bounded by the piece. The other encodings need
// the whole line: uuencode lines begin with their length, and BinHex is
// framed by colons.
class Base64LineDecoder {
public:
    // Appends what the next piece of the line completes; lineEnds ends the
    // line, and the next piece starts a new one.
    void decode(std::string_view piece, bool lineEnds, std::string& out);

private:
    std::string m_joined;  // the held bytes and the piece
    std::string m_text;    // the same without separators
    std::string m_held;    // the end of the last piece, which may begin a separator
    Base64Decoder m_decoder;
};

// Converts every line of text the way the command converts a whole-text line
// range. Lines end at CR LF, a lone CR or a lone LF; the result has CR LF
// between lines and ends with one only when text ended with a line break.
std::string convertDocumentText(std::string_view text, TargetCode target);

// The message of the character code command for the selected bytes: a quote,
// the first character, "' = " and its code ("82A0 (SJIS)" for a two-byte
// character, "0x41 (65)" for a single byte). Nothing for an empty selection.
std::optional<std::string> characterCodeMessage(std::string_view selection);

}  // namespace tabulo::kanji
