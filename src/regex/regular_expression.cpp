// Pattern setting, the compiled-pattern cache and compilation.
#include "regex/regular_expression.h"

#include <utility>

#include "regex/re_error.h"
#include "regex/re_limits.h"
#include "regex/re_parser.h"

namespace tabulo::regex {

namespace {

std::unique_ptr<TRE_DFA> build(const std::string& text, Code head, Code tail) {
    TREParser parser(text);
    parser.parse();
    TRE_NFA nfa(head, tail);
    nfa.build(parser.tree());
    return std::make_unique<TRE_DFA>(std::move(nfa));
}

}  // namespace

// Pair 0 is the empty pattern; it has no anchors, so the default codes serve
// every derived class.
TRegularExpression::TRegularExpression() {
    m_cache.emplace_back(std::string(), build(std::string(), m_headCode, m_tailCode));
}

TRegularExpression::~TRegularExpression() = default;

void TRegularExpression::SetRegExp(const std::string& pattern) {
    try {
        // Checked before the rewrite too, whose cost grows with the pattern.
        if (pattern.size() > limits::kMaxPatternBytes) {
            throw ERegExpParser(messages::kTooLong, limits::kMaxPatternBytes + 1);
        }
        m_pre.setPattern(pattern);
        m_pre.run();
        const std::string& text = m_pre.rewritten();
        std::size_t found = m_cache.size();
        for (std::size_t i = 0; i < m_cache.size(); ++i) {
            if (m_cache[i].first == text) {
                found = i;
                break;
            }
        }
        // Only the current automaton keeps the states its walks built.
        if (found != m_current) m_cache[m_current].second->releaseStates();
        if (found < m_cache.size()) {
            m_current = found;
        } else {
            if (m_cache.size() == kCacheCapacity) m_cache.pop_back();
            m_cache.insert(m_cache.begin() + 1, {text, nullptr});
            m_current = 1;
            Compile(text);
        }
        m_regExp = pattern;
    } catch (...) {
        m_current = 0;
        m_regExp.clear();
        throw;
    }
}

void TRegularExpression::Compile(const std::string& text) {
    try {
        const Code head = LineHeadCode();
        const Code tail = LineTailCode();
        m_cache[m_current].second = build(text, head, tail);
        m_headCode = head;
        m_tailCode = tail;
    } catch (...) {
        dropCurrentPair();
        throw;
    }
}

void TRegularExpression::dropCurrentPair() {
    if (m_current != 0) m_cache.erase(m_cache.begin() + static_cast<std::ptrdiff_t>(m_current));
    m_current = 0;
}

void TRegularExpression::SetUseFuzzyCharDic(bool on) {
    m_pre.SetUseFuzzyCharDic(on);
    SetRegExp(m_regExp);
}

void TRegularExpression::SetUseSynonymDic(bool on) {
    m_pre.SetUseSynonymDic(on);
    SetRegExp(m_regExp);
}

}  // namespace tabulo::regex
