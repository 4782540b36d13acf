// Base64, uuencode and BinHex encoders with the program's line layouts, and
// their decoders. Encoders write straight into a string sized beforehand;
// decoders check every index against the input, whatever its layout.
#include "kanji/mail_encoding.h"

#include <cstddef>

#include "kanji/six_bit_alphabet.h"

namespace tabulo::kanji {
namespace {

using detail::SixBitAlphabet;

constexpr std::size_t kBase64LineGroups = 19;  // 76 characters
constexpr std::size_t kUuLineBytes = 45;       // 60 characters after the length
constexpr std::size_t kBinHexLineChars = 64;   // counting the opening colon

const unsigned char* bytes(std::string_view data) {
    return reinterpret_cast<const unsigned char*>(data.data());
}

bool isLineBreak(char c) { return c == '\r' || c == '\n'; }

// Appends the Base64 of the whole groups of data and returns how many bytes
// of data they used.
std::size_t appendGroups(const SixBitAlphabet& alphabet, std::string_view data, std::string& out) {
    const std::size_t groups = data.size() / 3;
    const std::size_t at = out.size();
    out.resize(at + groups * 4);
    alphabet.encodeGroups(bytes(data), groups, out.data() + at);
    return groups * 3;
}

// Appends the characters of the last 1 or 2 bytes, padded to four with pad.
void appendPaddedTail(const SixBitAlphabet& alphabet, std::string_view tail, char pad,
                      std::string& out) {
    char chars[4] = {pad, pad, pad, pad};
    alphabet.encodeTail(bytes(tail), tail.size(), chars);
    out.append(chars, 4);
}

// Collects six-bit values and emits bytes; the decoders differ only in which
// characters they skip and where they stop.
class SixBitCollector {
public:
    explicit SixBitCollector(std::size_t expected) { m_out.reserve(expected); }
    void push(unsigned value) {
        m_acc = m_acc << 6 | value;
        if (++m_count == 4) {
            const char group[3] = {static_cast<char>(m_acc >> 16), static_cast<char>(m_acc >> 8),
                                   static_cast<char>(m_acc)};
            m_out.append(group, 3);
            m_acc = 0;
            m_count = 0;
        }
    }
    // Emits what an incomplete last group completes: two characters give one
    // byte, three give two.
    std::string finish() {
        if (m_count == 2) {
            m_out.push_back(static_cast<char>(m_acc >> 4));
        } else if (m_count == 3) {
            m_out.push_back(static_cast<char>(m_acc >> 10));
            m_out.push_back(static_cast<char>(m_acc >> 2));
        }
        return std::move(m_out);
    }

private:
    std::string m_out;
    unsigned m_acc = 0;
    int m_count = 0;
};

}  // namespace

void encodeBase64To(std::string_view data, char* out) {
    const SixBitAlphabet& alphabet = detail::base64Alphabet();
    const std::size_t groups = data.size() / 3;
    alphabet.encodeGroups(bytes(data), groups, out);
    const std::size_t rest = data.size() - groups * 3;
    if (rest == 0) return;
    char* tail = out + groups * 4;
    tail[2] = tail[3] = '=';
    alphabet.encodeTail(bytes(data) + groups * 3, rest, tail);
}

std::string EncodeBase64(std::string_view data) {
    std::string out(base64Length(data.size()), '\0');
    encodeBase64To(data, out.data());
    return out;
}

std::string EncodeBase64R(std::string_view data, std::string_view separator) {
    const SixBitAlphabet& alphabet = detail::base64Alphabet();
    constexpr std::size_t kLineBytes = kBase64LineGroups * 3;
    std::string out;
    out.reserve((data.size() + 2) / 3 * 4 + (data.size() / kLineBytes + 1) * separator.size());
    while (data.size() >= kLineBytes) {
        appendGroups(alphabet, data.substr(0, kLineBytes), out);
        out.append(separator);
        data.remove_prefix(kLineBytes);
    }
    data.remove_prefix(appendGroups(alphabet, data, out));
    if (!data.empty()) appendPaddedTail(alphabet, data, '=', out);
    return out;
}

std::string EncodeUU(std::string_view data, std::string_view separator) {
    const SixBitAlphabet& alphabet = detail::uuAlphabet();
    std::string out;
    out.reserve((data.size() + 2) / 3 * 4 + (data.size() / kUuLineBytes + 3) * (separator.size() + 1));
    bool lastLineFull = false;
    while (!data.empty()) {
        const std::string_view line = data.substr(0, kUuLineBytes);
        out.push_back(static_cast<char>(32 + line.size()));  // 1 to 45: never the back quote
        const std::size_t used = appendGroups(alphabet, line, out);
        if (used < line.size()) appendPaddedTail(alphabet, line.substr(used), '`', out);
        lastLineFull = line.size() == kUuLineBytes;
        if (lastLineFull) out.append(separator);
        data.remove_prefix(line.size());
    }
    if (!lastLineFull) out.append(separator);
    out.push_back('`');
    out.append(separator);
    return out;
}

std::string EncodeBinHex(std::string_view data, std::string_view separator) {
    const SixBitAlphabet& alphabet = detail::binHexAlphabet();
    std::string body;
    body.reserve((data.size() + 2) / 3 * 4);
    const std::size_t used = appendGroups(alphabet, data, body);
    if (used < data.size()) {
        char chars[3];
        body.append(chars, alphabet.encodeTail(bytes(data.substr(used)), data.size() - used, chars));
    }

    std::string out;
    out.reserve(body.size() + 2 + (body.size() / kBinHexLineChars + 1) * separator.size());
    out.push_back(':');
    std::string_view rest = body;
    std::size_t lineRoom = kBinHexLineChars - 1;  // the colon opens the first line
    while (rest.size() >= lineRoom) {
        out.append(rest.substr(0, lineRoom));
        out.append(separator);
        rest.remove_prefix(lineRoom);
        lineRoom = kBinHexLineChars;
    }
    out.append(rest);
    out.push_back(':');
    return out;
}

void Base64Decoder::decode(std::string_view text, std::string& out) {
    if (m_ended) return;
    const SixBitAlphabet& alphabet = detail::base64Alphabet();
    const auto* s = bytes(text);
    const std::size_t n = text.size();
    const std::size_t start = out.size();
    out.resize(start + n / 4 * 3 + 3);
    auto* const base = reinterpret_cast<unsigned char*>(out.data());
    auto* o = base + start;
    std::size_t i = 0;
    while (i < n) {
        // Whole groups of four alphabet characters take the fast way.
        if (m_count == 0 && i + 4 <= n) {
            const unsigned a = alphabet.value(s[i]), b = alphabet.value(s[i + 1]),
                           c = alphabet.value(s[i + 2]), d = alphabet.value(s[i + 3]);
            if ((a | b | c | d) < 64) {
                const unsigned v = a << 18 | b << 12 | c << 6 | d;
                o[0] = static_cast<unsigned char>(v >> 16);
                o[1] = static_cast<unsigned char>(v >> 8);
                o[2] = static_cast<unsigned char>(v);
                o += 3;
                i += 4;
                continue;
            }
        }
        const unsigned char ch = s[i++];
        const unsigned v = alphabet.value(ch);
        if (v == SixBitAlphabet::kInvalid) {
            if (ch == '=') {
                m_ended = true;
                break;
            }
            continue;  // line breaks and other characters outside the alphabet
        }
        m_acc = m_acc << 6 | v;
        if (++m_count == 4) {
            o[0] = static_cast<unsigned char>(m_acc >> 16);
            o[1] = static_cast<unsigned char>(m_acc >> 8);
            o[2] = static_cast<unsigned char>(m_acc);
            o += 3;
            m_acc = 0;
            m_count = 0;
        }
    }
    out.resize(static_cast<std::size_t>(o - base));
}

void Base64Decoder::finish(std::string& out) {
    // An incomplete last group: two characters give one byte, three give two.
    if (m_count == 2) {
        out.push_back(static_cast<char>(m_acc >> 4));
    } else if (m_count == 3) {
        out.push_back(static_cast<char>(m_acc >> 10));
        out.push_back(static_cast<char>(m_acc >> 2));
    }
    *this = Base64Decoder();
}

std::string DecodeBase64(std::string_view text) {
    std::string out;
    Base64Decoder decoder;
    decoder.decode(text, out);
    decoder.finish(out);
    return out;
}

std::string DecodeUU(std::string_view text) {
    std::string out;
    out.reserve(text.size() / 4 * 3);
    std::size_t i = 0;
    while (i < text.size()) {
        if (isLineBreak(text[i])) {
            ++i;
            continue;
        }
        const unsigned count = (static_cast<unsigned char>(text[i]) - 32u) & 63u;
        if (count == 0) break;
        ++i;
        std::size_t end = i;
        while (end < text.size() && !isLineBreak(text[end])) ++end;

        // Only count bytes of the line are data; the rest of its last group
        // is padding.
        SixBitCollector line(count + 3);
        for (std::size_t k = i; k < end && k < i + (count + 2) / 3 * 4; ++k) {
            line.push((static_cast<unsigned char>(text[k]) - 32u) & 63u);
        }
        const std::string decoded = line.finish();
        out.append(decoded, 0, count);
        i = end;
    }
    return out;
}

std::string DecodeBinHex(std::string_view text) {
    const SixBitAlphabet& alphabet = detail::binHexAlphabet();
    if (!text.empty() && text.front() == ':') text.remove_prefix(1);
    SixBitCollector out(text.size() / 4 * 3 + 3);
    for (const char c : text) {
        if (isLineBreak(c)) continue;
        const unsigned v = alphabet.value(static_cast<unsigned char>(c));
        if (v == SixBitAlphabet::kInvalid) break;
        out.push(v);
    }
    return out.finish();
}

}  // namespace tabulo::kanji
