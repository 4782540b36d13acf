// The per-line work of the code conversion and character code commands.
#include "kanji/code_conversion.h"

#include <algorithm>
#include <cstdio>

#include "kanji/byte_classes.h"
#include "kanji/kanji_code.h"
#include "kanji/mail_encoding.h"

namespace tabulo::kanji {

void convertLineTo(std::string_view line, TargetCode target, std::string& out) {
    switch (target) {
    case TargetCode::ShiftJis: return ConvertJCodeTo(line, kCodeSjis, out);
    case TargetCode::Jis: return ConvertJCodeTo(line, kCodeJisB, out);
    case TargetCode::Euc: return ConvertJCodeTo(line, kCodeEuc, out);
    case TargetCode::UUencode: out.append(EncodeUU(line, kCommandSeparator)); return;
    case TargetCode::BinHex: out.append(EncodeBinHex(line, kCommandSeparator)); return;
    case TargetCode::Base64: out.append(EncodeBase64(line)); return;
    }
}

std::string convertLine(std::string_view line, TargetCode target) {
    std::string out;
    convertLineTo(line, target, out);
    return out;
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

void Base64LineDecoder::decode(std::string_view piece, bool lineEnds, std::string& out) {
    m_joined.assign(m_held);
    m_joined.append(piece);
    const std::string_view joined(m_joined);
    m_text.clear();
    std::size_t from = 0;
    for (std::size_t at = joined.find(kCommandSeparator); at != std::string_view::npos;
         at = joined.find(kCommandSeparator, from)) {
        m_text.append(joined.substr(from, at - from));
        from = at + kCommandSeparator.size();
    }
    std::string_view rest = joined.substr(from);
    m_held.clear();
    if (!lineEnds) {
        // The longest end of the rest that begins a separator waits.
        for (std::size_t k = std::min(rest.size(), kCommandSeparator.size() - 1); k > 0; --k) {
            if (kCommandSeparator.substr(0, k) == rest.substr(rest.size() - k)) {
                m_held.assign(rest.substr(rest.size() - k));
                rest.remove_suffix(k);
                break;
            }
        }
    }
    m_text.append(rest);
    m_decoder.decode(m_text, out);
    if (lineEnds) m_decoder.finish(out);
}

std::string convertDocumentText(std::string_view text, TargetCode target) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            convertLineTo(text.substr(pos), target, out);
            break;
        }
        convertLineTo(text.substr(pos, end - pos), target, out);
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
