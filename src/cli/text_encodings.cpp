// Locale detection and argument decoding.
#include "cli/text_encodings.h"

#include <langinfo.h>

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "cli/cli_error.h"
#include "sjis/sjis_codec.h"

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

std::string argumentToSjis(std::string_view argument, ArgumentReading reading) {
    if (reading == ArgumentReading::Bytes) return std::string(argument);
    if (!sjis::isWellFormedUtf8(argument)) {
        if (reading == ArgumentReading::Utf8OrSjis) return std::string(argument);
        throw CliError("a text argument is not UTF-8 (see --args-encoding)");
    }
    const sjis::SjisCodec& codec = sjis::SjisCodec::instance();
    if (std::optional<std::string> sjis = codec.fromUtf8(argument)) return std::move(*sjis);
    // Name the first character that has no Shift-JIS form.
    for (std::size_t pos = 0; pos < argument.size();) {
        const std::size_t start = pos;
        const char32_t codePoint = sjis::nextUtf8(argument, pos);
        const std::string_view one = argument.substr(start, pos - start);
        if (!codec.fromUtf8(one)) {
            throw CliError("the character '" + std::string(one) + "' (" + codePointName(codePoint) + ") in '" +
                           std::string(argument) + "' has no Shift-JIS form");
        }
    }
    throw CliError("the argument '" + std::string(argument) + "' has no Shift-JIS form");
}

}  // namespace tabulo::cli
