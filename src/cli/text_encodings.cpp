// Locale detection and argument decoding.
#include "cli/text_encodings.h"

#include <langinfo.h>

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "cli/cli_error.h"
#include "platform/codec/sjis_codec.h"

namespace tabulo::cli {

namespace {

std::string lowered(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

std::string codePointName(char32_t codePoint) {
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(codePoint));
    return name;
}

}  // namespace

std::optional<Encoding> encodingNamed(std::string_view name) {
    const std::string n = lowered(name);
    if (n == "sjis" || n == "shift_jis" || n == "shift-jis" || n == "cp932") return Encoding::ShiftJis;
    if (n == "utf-8" || n == "utf8") return Encoding::Utf8;
    return std::nullopt;
}

std::optional<Encoding> localeEncoding() {
    const std::string codeset = lowered(nl_langinfo(CODESET));
    if (codeset == "utf-8" || codeset == "utf8") return Encoding::Utf8;
    if (codeset == "shift_jis" || codeset == "sjis" || codeset == "cp932" || codeset == "windows-31j")
        return Encoding::ShiftJis;
    return std::nullopt;
}

ArgumentReading argumentReading(std::optional<Encoding> forced, std::optional<Encoding> locale) {
    if (forced) return *forced == Encoding::Utf8 ? ArgumentReading::Utf8 : ArgumentReading::Bytes;
    return locale == Encoding::Utf8 ? ArgumentReading::Utf8OrSjis : ArgumentReading::Bytes;
}

std::optional<Utf8Char> decodeUtf8(std::string_view text, std::size_t pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x80) return Utf8Char{lead, 1};
    std::size_t length = 0;
    char32_t codePoint = 0;
    char32_t smallest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, codePoint = lead & 0x1F, smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, codePoint = lead & 0x0F, smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, codePoint = lead & 0x07, smallest = 0x10000;
    } else {
        return std::nullopt;
    }
    if (pos + length > text.size()) return std::nullopt;
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char next = byte(pos + i);
        if ((next & 0xC0) != 0x80) return std::nullopt;
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    if (codePoint < smallest || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return std::nullopt;
    return Utf8Char{codePoint, length};
}

bool isValidUtf8(std::string_view text) {
    for (std::size_t pos = 0; pos < text.size();) {
        const std::optional<Utf8Char> c = decodeUtf8(text, pos);
        if (!c) return false;
        pos += c->length;
    }
    return true;
}

std::string argumentToSjis(std::string_view argument, ArgumentReading reading) {
    if (reading == ArgumentReading::Bytes) return std::string(argument);
    if (!isValidUtf8(argument)) {
        if (reading == ArgumentReading::Utf8OrSjis) return std::string(argument);
        throw CliError("a text argument is not UTF-8 (see --args-encoding)");
    }
    const platform::SjisCodec& codec = platform::SjisCodec::instance();
    if (std::optional<std::string> sjis = codec.fromUtf8(argument)) return std::move(*sjis);
    // Name the first character that has no Shift-JIS form.
    for (std::size_t pos = 0; pos < argument.size();) {
        const Utf8Char c = *decodeUtf8(argument, pos);
        const std::string_view one = argument.substr(pos, c.length);
        if (!codec.fromUtf8(one)) {
            throw CliError("the character '" + std::string(one) + "' (" + codePointName(c.codePoint) +
                           ") in '" + std::string(argument) + "' has no Shift-JIS form");
        }
        pos += c.length;
    }
    throw CliError("the argument '" + std::string(argument) + "' has no Shift-JIS form");
}

}  // namespace tabulo::cli
