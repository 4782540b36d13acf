// Kanji code detection and conversion between Shift-JIS (the document's own
// encoding), EUC and 7-bit JIS. Every function works on byte strings and keeps
// no state, so each line of a document can be detected and converted on its
// own. The names are the unit's exported names; jconvert/jconvert.h offers the
// same functions to C callers.
#pragma once

#include <string>
#include <string_view>

#include "kanji/block_seam.h"

namespace tabulo::kanji {

// Kanji code values returned by InCodeCheck and taken as source and target
// codes. They stay plain ints rather than an enum: the numbers themselves are
// the exported interface, shared with C callers, and a value outside the
// table is a legal argument (conversion to it leaves the text unchanged).
inline constexpr int kCodeNone = 0;       // only 7-bit bytes, or too short to tell
inline constexpr int kCodeBinary = 1;     // a byte below 8 or the byte 0xFF
inline constexpr int kCodeJisB = 2;       // JIS, kanji mode entered by ESC $ B
inline constexpr int kCodeJisAt = 3;      // JIS, kanji mode entered by ESC $ @
inline constexpr int kCodeEuc = 4;
inline constexpr int kCodeSjis = 5;
inline constexpr int kCodeUndecided = 6;  // EUC or Shift-JIS, not decided

// How many leading bytes the binary test of InCodeCheck examines.
inline constexpr int STRICT_CHECK_LEN = 512;

// Detects the kanji code of text. The scan stops at the first decisive code
// (1 to 5); the last byte of the text is never examined on its own, so a
// one-byte text always gives 0.
int InCodeCheck(std::string_view text);

// One JIS X 0208 character (row and cell 0x21 to 0x7E) as its two Shift-JIS
// bytes, and back. Both are pure arithmetic and accept any byte values.
std::string ToSjis(unsigned char row, unsigned char cell);
std::string ToJis(unsigned char lead, unsigned char trail);

// JIS text (kanji mode entered by ESC $ x, left by ESC ( x) to EUC or
// Shift-JIS. An escape sequence cut off by the end of the text is dropped.
std::string jis2euc(std::string_view text);
std::string jis2sjis(std::string_view text);

// EUC or Shift-JIS text to JIS: kanji mode is entered with ESC $ B and left
// with ESC ( J before every CR, LF and other 7-bit byte and at the end.
// Half-width katakana become their full-width JIS X 0208 forms, with a
// following voicing mark merged into the character.
std::string euc2jis83(std::string_view text);
std::string sjis2jis83(std::string_view text);

std::string euc2sjis(std::string_view text);
std::string sjis2euc(std::string_view text);

// Detects the code of text and converts it to target (2, 4 or 5). Text that
// is already in the target code, 7-bit, binary or undecided is returned as
// it is.
std::string ConvertJCode(std::string_view text, int target);
// The same from a given source code, without detection.
std::string StrictConvertJCode(std::string_view text, int source, int target);

// The same, appending the result to out, so that a caller converting many
// lines reuses one buffer.
void ConvertJCodeTo(std::string_view text, int target, std::string& out);
void StrictConvertJCodeTo(std::string_view text, int source, int target, std::string& out);

// StrictConvertJCode over a text that arrives in blocks cut anywhere: a
// character or escape sequence cut by a block edge waits for the next block,
// and the kanji modes of the JIS reader and writer carry over, so the bytes
// are those of the whole text converted at once. Memory stays bounded by
// the block however long the text's lines are.
class KanjiCodeStream {
public:
    KanjiCodeStream(int source, int target);

    // Appends the conversion of the next block to out. last ends the text
    // (a JIS result leaves kanji mode); the next block starts a new one.
    void convert(std::string_view block, bool last, std::string& out);

    enum class Kind { Copy, JisToEuc, JisToSjis, EucToJis, SjisToJis, EucToSjis, SjisToEuc };

private:
    Kind m_kind;
    detail::BlockSeam m_seam;
    bool m_readKanji = false;   // the JIS reader is in kanji mode
    bool m_writeKanji = false;  // the JIS writer is in kanji mode
};

}  // namespace tabulo::kanji
