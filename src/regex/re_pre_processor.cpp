// The dictionary rewrite: runs of ordinary characters outside classes are
// matched against dictionary entries, first match wins, and each matched
// entry becomes a group of its whole row. Time linear in the pattern for a
// given dictionary.
#include "regex/re_pre_processor.h"

#include <unordered_map>

#include "regex/re_scanner.h"
#include "regex/sjis.h"

namespace tabulo::regex {

namespace {

struct ScannedToken {
    TokenKind kind;
    Code code;
    std::size_t begin;  // 0-based byte span of the source text
    std::size_t end;
};

std::string quoteEntry(const std::string& entry) {
    static const std::string kMeta = "^(|)+*?.[]$\\";
    std::string out;
    for (std::size_t i = 0; i < entry.size();) {
        const auto b = static_cast<unsigned char>(entry[i]);
        if (isLeadByte(b) && i + 1 < entry.size()) {
            out.append(entry, i, 2);
            i += 2;
            continue;
        }
        if (kMeta.find(static_cast<char>(b)) != std::string::npos) out += '\\';
        out += static_cast<char>(b);
        ++i;
    }
    return out;
}

// Number of tokens from `first` that spell the entry, or 0 when it does not
// match inside the run [first, runEnd).
std::size_t entryMatch(const std::basic_string<Code>& entry, const std::vector<ScannedToken>& tokens,
                       std::size_t first, std::size_t runEnd) {
    if (entry.empty() || first + entry.size() > runEnd) return 0;
    for (std::size_t k = 0; k < entry.size(); ++k) {
        if (tokens[first + k].code != entry[k]) return 0;
    }
    return entry.size();
}

}  // namespace

void TREPreProcessor::run() {
    std::string text = m_pattern;
    if (m_useSynonym) text = rewrite(text, m_synonym);
    if (m_useFuzzy) text = rewrite(text, m_fuzzy);
    m_rewritten = std::move(text);
}

std::string TREPreProcessor::rewrite(const std::string& pattern, const std::vector<const Dictionary*>& dictionaries) {
    std::vector<ScannedToken> tokens;
    TREScanner scanner(pattern);
    for (;;) {
        const std::size_t begin = scanner.position() - 1;
        const TokenKind kind = scanner.next();
        tokens.push_back({kind, scanner.code(), begin, scanner.position() - 1});
        if (kind == TokenKind::End) break;
    }

    // Where the run of ordinary characters holding each token ends: found
    // once for the whole pattern, so the rewrite stays linear in it.
    std::vector<std::size_t> runEnds(tokens.size());
    for (std::size_t i = tokens.size(); i-- > 0;) {
        const bool ordinary = tokens[i].kind == TokenKind::Char;
        runEnds[i] = !ordinary ? i : i + 1 < tokens.size() && tokens[i + 1].kind == TokenKind::Char ? runEnds[i + 1] : i + 1;
    }

    // Entries decoded once per rewrite and listed under their first code in
    // dictionary order, so each token meets only the entries it can start
    // and the first of them that matches is the first of the dictionaries.
    struct Candidate {
        std::basic_string<Code> codes;
        const Dictionary::Row* row;
    };
    std::unordered_map<Code, std::vector<Candidate>> byFirstCode;
    for (const Dictionary* dictionary : dictionaries) {
        for (const auto& row : dictionary->rows()) {
            for (const auto& entry : row) {
                std::basic_string<Code> codes;
                appendCodes(entry, codes);
                if (!codes.empty()) byFirstCode[codes[0]].push_back({std::move(codes), &row});
            }
        }
    }

    std::string out;
    bool inClass = false;
    for (std::size_t i = 0; i < tokens.size();) {
        const ScannedToken& token = tokens[i];
        const auto source = [&](const ScannedToken& t) { return pattern.substr(t.begin, t.end - t.begin); };
        if (token.kind == TokenKind::ClassOpen || token.kind == TokenKind::NegatedClassOpen) inClass = true;
        if (token.kind == TokenKind::ClassClose) inClass = false;
        if (token.kind != TokenKind::Char || inClass) {
            out += source(token);
            ++i;
            continue;
        }
        std::size_t matched = 0;
        const Dictionary::Row* matchedRow = nullptr;
        if (const auto candidates = byFirstCode.find(token.code); candidates != byFirstCode.end()) {
            for (const Candidate& c : candidates->second) {
                matched = entryMatch(c.codes, tokens, i, runEnds[i]);
                if (matched) {
                    matchedRow = c.row;
                    break;
                }
            }
        }
        if (!matched) {
            out += source(token);
            ++i;
            continue;
        }
        out += '(';
        for (std::size_t e = 0; e < matchedRow->size(); ++e) {
            if (e) out += '|';
            out += quoteEntry((*matchedRow)[e]);
        }
        out += ')';
        i += matched;
    }
    return out;
}

}  // namespace tabulo::regex
