#include "search/engine/name_text.h"

#include "sjis/sjis_char.h"
#include "sjis/sjis_codec.h"

namespace tabulo::search {

namespace {

// Length of the well-formed UTF-8 sequence at s[i], or 0.
std::size_t utf8Length(std::string_view s, std::size_t i) {
    const auto b = static_cast<unsigned char>(s[i]);
    std::size_t n = 0;
    if (b < 0x80) return 1;
    if (b >= 0xC2 && b <= 0xDF) n = 2;
    else if (b >= 0xE0 && b <= 0xEF) n = 3;
    else if (b >= 0xF0 && b <= 0xF4) n = 4;
    else return 0;
    if (i + n > s.size()) return 0;
    for (std::size_t k = 1; k < n; ++k) {
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 0;
    }
    return n;
}

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

}  // namespace

std::string documentTextOfFileName(std::string_view fileName) {
    const sjis::SjisCodec& codec = sjis::SjisCodec::instance();
    std::string out;
    out.reserve(fileName.size());
    for (std::size_t i = 0; i < fileName.size();) {
        const std::size_t n = utf8Length(fileName, i);
        if (n == 1) {
            out += fileName[i++];
            continue;
        }
        const std::size_t take = n == 0 ? 1 : n;
        const std::string_view piece = fileName.substr(i, take);
        const std::optional<std::string> sjis = n == 0 ? std::nullopt : codec.fromUtf8(piece);
        out += sjis ? std::string_view(*sjis) : piece;
        i += take;
    }
    return out;
}

std::string fileNameOfDocumentText(std::string_view text) {
    const sjis::SjisCodec& codec = sjis::SjisCodec::instance();
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            out += text[i++];
            continue;
        }
        std::size_t n = 1;
        if (sjis::isLeadByte(b) && i + 1 < text.size() &&
            sjis::isTrailByte(static_cast<unsigned char>(text[i + 1]))) {
            n = 2;
        }
        const std::string_view piece = text.substr(i, n);
        const std::string utf8 = codec.toUtf8(piece);
        out += utf8 == kReplacement ? piece : std::string_view(utf8);
        i += n;
    }
    return out;
}

}  // namespace tabulo::search
