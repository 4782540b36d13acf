#include "kanji/utf8_code.h"

#include <algorithm>

#include "platform/codec/sjis_codec.h"

namespace tabulo::kanji {

bool IsUtf8Text(std::string_view text)
{
    const bool nonAscii = std::any_of(text.begin(), text.end(), [](char c) { return (c & 0x80) != 0; });
    return nonAscii && platform::isWellFormedUtf8(text);
}

Utf8Conversion sjis2utf8(std::string_view text)
{
    Utf8Conversion result;
    platform::SjisCodec::Unrepresentable report;
    result.text = platform::SjisCodec::instance().toUtf8Reporting(text, report);
    result.lost = report.count;
    result.firstLost = report.firstPosition;
    return result;
}

Utf8Conversion utf82sjis(std::string_view text)
{
    Utf8Conversion result;
    platform::SjisCodec::Unrepresentable report;
    result.text = platform::SjisCodec::instance().fromUtf8Substituting(text, report);
    result.lost = report.count;
    result.firstLost = report.firstPosition;
    return result;
}

}  // namespace tabulo::kanji
