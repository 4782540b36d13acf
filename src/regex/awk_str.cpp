// Match, awk-style Split and escape expansion.
#include "regex/awk_str.h"

#include "regex/dictionary.h"
#include "regex/re_scanner.h"

namespace tabulo::regex {

TAWKStr::TAWKStr() { fuzzyDictionaries().push_back(&fuzzyCharDictionary()); }

void TAWKStr::SetRegExp(const std::string& pattern) {
    try {
        TMatchCORE::SetRegExp(pattern);
    } catch (...) {
        m_anchored = false;
        throw;
    }
    m_anchored = dfa().startsWithLineHead() || dfa().endsWithLineTail();
}

std::optional<MatchSpan> TAWKStr::search(std::string_view subject) const {
    return m_anchored ? anchoredSearch(subject) : plainSearch(subject);
}

std::size_t TAWKStr::Match(const std::string& subject, std::size_t& length) const {
    const auto m = search(subject);
    if (!m) {
        length = 0;
        return 0;
    }
    length = m->end - m->start;
    return m->start + 1;
}

std::size_t TAWKStr::Split(const std::string& subject, std::vector<std::string>& fields) const {
    fields.clear();
    std::string_view rest = subject;
    rest = rest.substr(0, rest.find('\0'));
    std::string pending;
    while (!rest.empty()) {
        const auto m = search(rest);
        if (!m) {
            fields.push_back(pending + std::string(rest));
            pending.clear();
            break;
        }
        if (m->end > m->start || m->start != 0) {
            fields.push_back(pending + std::string(rest.substr(0, m->start)));
            pending.clear();
            rest = rest.substr(m->end);
            if (rest.empty()) {
                fields.emplace_back();
                break;
            }
            continue;
        }
        const std::size_t len = isLeadByte(static_cast<unsigned char>(rest[0])) && rest.size() > 1 ? 2 : 1;
        pending.append(rest.substr(0, len));
        rest = rest.substr(len);
    }
    if (!pending.empty()) fields.push_back(pending);
    return fields.size();
}

std::string TAWKStr::ExpandEscapes(const std::string& text) {
    std::string out;
    TREScanner scanner(text);
    while (scanner.position() <= text.size()) {
        const std::size_t at = scanner.position() - 1;
        const auto b = static_cast<unsigned char>(text[at]);
        const std::size_t len = isLeadByte(b) && at + 1 < text.size() ? 2 : 1;
        scanner.skip(len);
        if (b == '\\') {
            out += codeToText(scanner.readEscape());
        } else {
            out.append(text, at, len);
        }
    }
    return out;
}

}  // namespace tabulo::regex
