// Shift-JIS (CP932) <-> Unicode conversion for the edges of the program: where
// a glyph is drawn, a message shows document text, the clipboard is exchanged
// or a UTF-8 message is printed for a Shift-JIS terminal. Documents themselves
// stay Shift-JIS bytes; nothing here is applied to them implicitly.
//
// The conversion is one committed CP932 table (cp932_table.h) generated from
// the C library's CP932 converter, so it agrees with that converter code for
// code, and decoding is a table lookup per character (the editor decodes
// every row it paints).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tabulo::sjis {

class SjisCodec {
public:
    // Built on first use (thread-safe).
    static const SjisCodec& instance();

    // Never fails: bytes with no mapping (a lone lead byte, an unmapped pair,
    // 0x80, 0xA0, 0xFD-0xFF) become U+FFFD. A lead byte followed by a byte
    // that cannot be a trail byte yields U+FFFD for the lead byte alone; the
    // next byte is then decoded as a character of its own.
    std::u16string toUtf16(std::string_view sjis) const;
    std::string toUtf8(std::string_view sjis) const;

    // std::nullopt when any character has no Shift-JIS form (also for
    // malformed UTF-16/UTF-8). Characters that several codes share come out
    // as the code the C library's converter prefers (≒ as 0x81E0, not the
    // NEC row-13 copy 0x8790).
    std::optional<std::string> fromUtf16(std::u16string_view text) const;
    std::optional<std::string> fromUtf8(std::string_view text) const;

    // How many characters of a text had no Shift-JIS form (malformed
    // sequences count as one character each) and the byte offset of the
    // first of them in the input.
    struct Unrepresentable {
        std::size_t count = 0;
        std::size_t firstPosition = 0;
    };
    // The geta mark 〓 (0x81 0xAC), the program's one substitution mark:
    // every character with no Shift-JIS form that comes in becomes it.
    static constexpr std::string_view kGetaMark = "\x81\xAC";

    // Decoding that says how many bytes or pairs were no character (each
    // became U+FFFD) and where the first was.
    std::string toUtf8Reporting(std::string_view sjis, Unrepresentable& report) const;

    // Every character with no Shift-JIS form becomes kGetaMark; report says
    // how many and where the first was, so the caller can ask first.
    std::string fromUtf8Substituting(std::string_view text, Unrepresentable& report) const;

    // Like fromUtf16/fromUtf8, but every character with no Shift-JIS form
    // (and every malformed sequence) becomes kGetaMark; `replaced`, when
    // given, receives how many. For the program's own texts and the
    // clipboard, which counts and tells; user text to convert goes through
    // fromUtf8Substituting, which also says where the first one was.
    std::string fromUtf16Lossy(std::u16string_view text, std::size_t* replaced = nullptr) const;
    std::string fromUtf8Lossy(std::string_view text) const;

    // Decoding one character: code is the byte, or lead * 256 + trail.
    // Returns U+FFFD for a code with no mapping.
    char16_t charToUtf16(unsigned code) const;

    // The Shift-JIS code (byte or lead * 256 + trail) of one UTF-16 unit, or
    // std::nullopt when it has none (surrogates never have one).
    std::optional<unsigned> charFromUtf16(char16_t unit) const;

private:
    SjisCodec();

    // Encodes one code point; false when it has no Shift-JIS form.
    bool appendCode(std::string& out, char32_t codePoint) const;

    // Indexed by code (byte, or lead * 256 + trail); U+FFFD where unmapped.
    std::vector<char16_t> m_toUnicode;
    // Indexed by UTF-16 unit; kNoCode where the unit has no Shift-JIS form.
    std::vector<std::uint16_t> m_fromUnicode;
};

// What nextUtf8 gives for bytes that are not well-formed UTF-8.
inline constexpr char32_t kMalformedUtf8 = 0xFFFFFFFF;

// Reads one code point at text[pos] and advances pos past it. A malformed
// sequence (bad lead, missing continuation, overlong form, surrogate, beyond
// U+10FFFF, cut off) gives kMalformedUtf8 and advances by one byte, so the
// bytes after it are read again as characters of their own.
char32_t nextUtf8(std::string_view text, std::size_t& pos);

// Whether text is well-formed UTF-8 (no overlong form, surrogate or code
// point beyond U+10FFFF, nothing cut off).
bool isWellFormedUtf8(std::string_view text);

}  // namespace tabulo::sjis
