#include "platform/typed_text.h"

#include "platform/incoming_text.h"
#include "sjis/sjis_codec.h"
#include "platform/error_handler.h"

namespace tabulo::platform {

QString unicodeName(char32_t codePoint) {
    return QStringLiteral("U+") +
           QString::number(static_cast<uint>(codePoint), 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

std::string sjisOfTypedText(const QString& text) {
    // Decomposed kana (か and the combining voiced mark) are composed first.
    IncomingText incoming = sjisOfIncomingText(text);
    if (incoming.replaced == 0) return std::move(incoming.sjis);
    const std::string utf8 = text.normalized(QString::NormalizationForm_C).toStdString();
    sjis::SjisCodec::Unrepresentable report;
    sjis::SjisCodec::instance().fromUtf8Substituting(utf8, report);
    std::size_t character = 1;
    for (std::size_t pos = 0; pos < report.firstPosition; ++character) sjis::nextUtf8(utf8, pos);
    std::size_t pos = report.firstPosition;
    const char32_t codePoint = sjis::nextUtf8(utf8, pos);
    const QString shown = QString::fromUtf8(utf8.data() + report.firstPosition,
                                            static_cast<qsizetype>(pos - report.firstPosition));
    prompts().message(QStringLiteral("入力した文字列の Shift-JIS にない文字 %1 個を「〓」に置き換えました。"
                                     "最初は %2 文字目の「%3」(%4) です。")
                          .arg(incoming.replaced)
                          .arg(character)
                          .arg(shown, unicodeName(codePoint)));
    return std::move(incoming.sjis);
}

}  // namespace tabulo::platform
