#include "kanji/utf8_code.h"

#include <algorithm>
#include <utility>

#include "platform/codec/sjis_codec.h"

namespace tabulo::kanji {

bool IsUtf8Text(std::string_view text)
{
    const bool nonAscii = std::any_of(text.begin(), text.end(), [](char c) { return (c & 0x80) != 0; });
    return nonAscii && platform::isWellFormedUtf8(text);
}

Utf8Conversion sjis2utf8(std::string_view text)
{
    platform::SjisCodec::Unrepresentable report;
    std::string utf8 = platform::SjisCodec::instance().toUtf8Reporting(text, report);
    return {std::move(utf8), report.count, report.firstPosition};
}

Utf8Conversion utf82sjis(std::string_view text)
{
    platform::SjisCodec::Unrepresentable report;
    std::string sjis = platform::SjisCodec::instance().fromUtf8Substituting(text, report);
    return {std::move(sjis), report.count, report.firstPosition};
}

}  // namespace tabulo::kanji
