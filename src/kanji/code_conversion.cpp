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

namespace {

// The line with every command separator turned back into CR LF; the line
// itself when it holds none.
std::string_view withLineBreaks(std::string_view line, std::string& buffer) {
    std::size_t at = line.find(kCommandSeparator);
    if (at == std::string_view::npos) return line;
    buffer.clear();
    std::size_t from = 0;
    for (; at != std::string_view::npos; at = line.find(kCommandSeparator, from)) {
        buffer.append(line.substr(from, at - from));
        buffer.append("\r\n");
        from = at + kCommandSeparator.size();
    }
    buffer.append(line.substr(from));
    return buffer;
}

}  // namespace

std::string decodeLine(std::string_view line, MailEncoding encoding) {
    std::string buffer;
    const std::string_view text = withLineBreaks(line, buffer);
    switch (encoding) {
    case MailEncoding::Base64: return DecodeBase64(text);
    case MailEncoding::UUencode: return DecodeUU(text);
    case MailEncoding::BinHex: return DecodeBinHex(text);
    }
    return std::string(text);
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
