// Byte-to-text encoders of mail and news (Base64, uuencode body lines, the
// BinHex 4.0 alphabet) and their decoders. The line layout is the program's
// own: a caller-given separator goes between output lines, so the code
// conversion command can keep each encoded document line on one line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tabulo::kanji {

// Base64 of data in one line, padded with =.
std::string EncodeBase64(std::string_view data);
// The same characters written at out, which has room for
// base64Length(data.size()) of them: for callers that encode many short
// texts into one buffer.
constexpr std::size_t base64Length(std::size_t bytes) { return (bytes + 2) / 3 * 4; }
void encodeBase64To(std::string_view data, char* out);
// Base64 with separator after every 76 characters of full groups; the padded
// last group, if any, follows the last separator.
std::string EncodeBase64R(std::string_view data, std::string_view separator);
// uuencoded body lines (length character, groups, separator), ending with
// the zero-length line "`" and the separator. No begin or end line.
std::string EncodeUU(std::string_view data, std::string_view separator);
// ":" + the data in the BinHex alphabet (no header, run-length coding or
// checksum) + ":", with separator after every 64th character counting the
// opening colon.
std::string EncodeBinHex(std::string_view data, std::string_view separator);

// The decoders invert their encoders. CR and LF are skipped wherever they
// stand; malformed input gives unspecified bytes but is never read beyond.
// Base64 decoding stops at the first = and skips other characters outside
// the alphabet.
std::string DecodeBase64(std::string_view text);
// DecodeBase64 over a text that arrives in pieces cut anywhere: a group cut
// by a piece's end is completed by the next piece, so the bytes are those of
// the whole text decoded at once.
class Base64Decoder {
public:
    // Appends what the next piece completes to out.
    void decode(std::string_view text, std::string& out);
    // Ends the text (appending what an incomplete last group gives); the
    // decoder then starts a new one.
    void finish(std::string& out);

private:
    unsigned m_acc = 0;
    int m_count = 0;      // six-bit values in m_acc
    bool m_ended = false;  // an = was read: the rest is ignored
};
// Stops at the zero-length line or the end of the text.
std::string DecodeUU(std::string_view text);
// Stops at the first character outside the alphabet (the closing colon).
std::string DecodeBinHex(std::string_view text);

}  // namespace tabulo::kanji
