// Comma-text splitting for dictionary rows.
#include "regex/dictionary.h"

#include "regex/sjis.h"

namespace tabulo::regex {

namespace {

bool isBlank(unsigned char b) { return b >= 1 && b <= 32; }

}  // namespace

std::vector<std::string> splitCommaText(std::string_view text) {
    std::vector<std::string> entries;
    std::size_t i = 0;
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    while (i < text.size() && isBlank(at(i))) ++i;
    while (i < text.size() && at(i) != 0) {
        std::string entry;
        if (text[i] == '"') {
            ++i;
            while (i < text.size()) {
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        entry += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                const std::size_t len = isLeadByte(at(i)) && i + 1 < text.size() ? 2 : 1;
                entry.append(text.substr(i, len));
                i += len;
            }
        } else {
            while (i < text.size() && at(i) > 32 && text[i] != ',') {
                const std::size_t len = isLeadByte(at(i)) && i + 1 < text.size() ? 2 : 1;
                entry.append(text.substr(i, len));
                i += len;
            }
        }
        entries.push_back(std::move(entry));
        while (i < text.size() && isBlank(at(i))) ++i;
        if (i < text.size() && text[i] == ',') {
            do ++i;
            while (i < text.size() && isBlank(at(i)));
        }
    }
    return entries;
}

Dictionary Dictionary::fromCommaTexts(const std::vector<std::string_view>& rows) {
    std::vector<Row> parsed;
    parsed.reserve(rows.size());
    for (std::string_view row : rows) parsed.push_back(splitCommaText(row));
    return Dictionary(std::move(parsed));
}

}  // namespace tabulo::regex
