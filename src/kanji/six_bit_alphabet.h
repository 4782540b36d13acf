// A 64-character alphabet for the encodings that cut three bytes into four
// six-bit characters (Base64, uuencode, BinHex). Lookup tables make encoding
// two table reads per three bytes. Internal to the unit.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace tabulo::kanji::detail {

class SixBitAlphabet {
public:
    static constexpr std::uint8_t kInvalid = 0xFF;

    // chars[v] is the character of the value v.
    explicit SixBitAlphabet(const std::array<char, 64>& chars);

    char at(unsigned value) const { return m_chars[value & 63]; }
    // The value of character c, or kInvalid.
    std::uint8_t value(unsigned char c) const { return m_values[c]; }

    // Encodes groups × 3 bytes of in as groups × 4 characters at out.
    void encodeGroups(const unsigned char* in, std::size_t groups, char* out) const;
    // Encodes the last 1 or 2 bytes as 2 or 3 characters; returns the count.
    std::size_t encodeTail(const unsigned char* in, std::size_t count, char* out) const;

private:
    std::array<char, 64> m_chars;
    std::array<std::uint8_t, 256> m_values;
    std::array<std::array<char, 2>, 4096> m_pairs;  // twelve bits -> two characters
};

const SixBitAlphabet& base64Alphabet();
const SixBitAlphabet& uuAlphabet();
const SixBitAlphabet& binHexAlphabet();

}  // namespace tabulo::kanji::detail
