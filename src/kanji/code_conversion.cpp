// The per-line work of the code conversion and character code commands.
#include "kanji/code_conversion.h"

#include <cstdio>

#include "kanji/byte_classes.h"
#include "kanji/kanji_code.h"
#include "kanji/mail_encoding.h"

namespace tabulo::kanji {

std::string convertLine(std::string_view line, TargetCode target) {
    switch (target) {
    case TargetCode::ShiftJis: return ConvertJCode(line, kCodeSjis);
    case TargetCode::Jis: return ConvertJCode(line, kCodeJisB);
    case TargetCode::Euc: return ConvertJCode(line, kCodeEuc);
    case TargetCode::UUencode: return EncodeUU(line, kCommandSeparator);
    case TargetCode::BinHex: return EncodeBinHex(line, kCommandSeparator);
    case TargetCode::Base64: return EncodeBase64(line);
    }
    return std::string(line);
}

std::string convertDocumentText(std::string_view text, TargetCode target) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            out.append(convertLine(text.substr(pos), target));
            break;
        }
        out.append(convertLine(text.substr(pos, end - pos), target));
        out.append("\r\n");
        pos = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
    return out;
}

std::optional<std::string> characterCodeMessage(std::string_view selection) {
    if (selection.empty()) return std::nullopt;
    const auto lead = static_cast<unsigned char>(selection[0]);
    char value[32];
    std::size_t length = 1;
    if (selection.size() >= 2 && sjis::isLeadByte(lead)) {
        length = 2;
        const auto trail = static_cast<unsigned char>(selection[1]);
        std::snprintf(value, sizeof value, "%X (SJIS)", lead * 256u + trail);
    } else {
        std::snprintf(value, sizeof value, "0x%X (%d)", unsigned{lead}, int{lead});
    }
    std::string message = "'";
    message.append(selection.substr(0, length));
    message.append("' = ");
    message.append(value);
    return message;
}

}  // namespace tabulo::kanji
