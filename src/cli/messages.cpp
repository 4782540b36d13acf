// Locale conversion of messages.
#include "cli/messages.h"
#include "sjis/sjis_char.h"

#include <unistd.h>

#include "cli/output_writer.h"
#include "sjis/sjis_codec.h"

namespace tabulo::cli {

std::string Messages::fromArgument(std::string_view argument) const {
    if (m_locale == Encoding::ShiftJis) return fromSjis(argument);
    return std::string(argument);
}

std::string Messages::fromSjis(std::string_view sjis) {
    return sjis::SjisCodec::instance().toUtf8(sjis);
}

std::string Messages::toLocale(std::string_view utf8) const {
    if (m_locale == Encoding::ShiftJis) return sjis::SjisCodec::instance().fromUtf8Lossy(utf8);
    return std::string(utf8);
}

void Messages::error(std::string_view utf8) const {
    std::string line = toLocale(utf8);
    line.push_back('\n');
    try {
        writeFully(STDERR_FILENO, line);
    } catch (...) {
        // Nowhere left to report that standard error failed.
    }
}

std::size_t sjisColumn(std::string_view sjis, std::size_t pos) {
    std::size_t column = 0;
    for (std::size_t i = 0; i < pos && i < sjis.size();) {
        const bool twoBytes = sjis::isLeadByte(static_cast<unsigned char>(sjis[i])) && i + 1 < sjis.size();
        i += twoBytes ? 2 : 1;
        column += twoBytes ? 2 : 1;
    }
    return column;
}

}  // namespace tabulo::cli
