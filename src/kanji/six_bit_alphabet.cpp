// The three alphabets of the mail encodings and the shared six-bit cutting.
#include "kanji/six_bit_alphabet.h"

#include <cstring>
#include <string_view>

namespace tabulo::kanji::detail {
namespace {

std::array<char, 64> charsOf(std::string_view text) {
    std::array<char, 64> chars{};
    std::memcpy(chars.data(), text.data(), chars.size());
    return chars;
}

}  // namespace

SixBitAlphabet::SixBitAlphabet(const std::array<char, 64>& chars) : m_chars(chars) {
    m_values.fill(kInvalid);
    for (unsigned v = 0; v < 64; ++v) m_values[static_cast<unsigned char>(chars[v])] = static_cast<std::uint8_t>(v);
    for (unsigned v = 0; v < 4096; ++v) m_pairs[v] = {chars[v >> 6], chars[v & 63]};
}

void SixBitAlphabet::encodeGroups(const unsigned char* in, std::size_t groups, char* out) const {
    for (std::size_t g = 0; g < groups; ++g, in += 3, out += 4) {
        const unsigned v = unsigned{in[0]} << 16 | unsigned{in[1]} << 8 | in[2];
        std::memcpy(out, m_pairs[v >> 12].data(), 2);
        std::memcpy(out + 2, m_pairs[v & 0xFFF].data(), 2);
    }
}

std::size_t SixBitAlphabet::encodeTail(const unsigned char* in, std::size_t count, char* out) const {
    const unsigned v = unsigned{in[0]} << 16 | (count > 1 ? unsigned{in[1]} << 8 : 0u);
    out[0] = at(v >> 18);
    out[1] = at(v >> 12);
    if (count == 1) return 2;
    out[2] = at(v >> 6);
    return 3;
}

const SixBitAlphabet& base64Alphabet() {
    static const SixBitAlphabet alphabet(
        charsOf("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"));
    return alphabet;
}

// uuencode writes the value v as the character 32 + v, except 0 as the back
// quote, so that no line carries trailing spaces that mail software strips.
const SixBitAlphabet& uuAlphabet() {
    static const SixBitAlphabet alphabet = [] {
        std::array<char, 64> chars{};
        chars[0] = '`';
        for (unsigned v = 1; v < 64; ++v) chars[v] = static_cast<char>(32 + v);
        return SixBitAlphabet(chars);
    }();
    return alphabet;
}

const SixBitAlphabet& binHexAlphabet() {
    static const SixBitAlphabet alphabet(
        charsOf("!\"#$%&'()*+,-012345689@ABCDEFGHIJKLMNPQRSTUVXYZ[`abcdefhijklmpqr"));
    return alphabet;
}

}  // namespace tabulo::kanji::detail
