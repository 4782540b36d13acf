// A slow, plain reference for the matchers: the automaton is simulated as a
// set of NFA states built straight from the parse tree (no subset
// construction, no partition refinement, no byte tables), and the searches
// try every start position. The fast paths must agree with it on every case.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "regex/re_nfa.h"
#include "regex/re_parser.h"
#include "regex/sjis.h"

namespace tabulo::regex::testing {

class ReferenceNfa {
public:
    using States = std::set<int>;

    ReferenceNfa(const std::string& pattern, Code headCode, Code tailCode) : m_head(headCode), m_tail(tailCode) {
        TREParser parser(pattern);
        parser.parse();
        m_out.resize(2);
        generate(parser.tree(), parser.tree().root(), 0, 1);
    }

    bool hasHead() const { return m_hasHead; }
    bool hasTail() const { return m_hasTail; }
    States start() const { return closure({0}); }
    static bool accepts(const States& s) { return s.count(1) > 0; }

    States step(const States& from, Code code) const {
        States to;
        for (int s : from) {
            for (const Edge& e : m_out[static_cast<std::size_t>(s)]) {
                if (!e.empty && e.lo <= code && code <= e.hi) to.insert(e.to);
            }
        }
        return closure(to);
    }

private:
    struct Edge {
        int to;
        bool empty;
        Code lo;
        Code hi;
    };

    int add() {
        m_out.emplace_back();
        return static_cast<int>(m_out.size() - 1);
    }
    void edge(int from, int to, Code lo, Code hi) { m_out[static_cast<std::size_t>(from)].push_back({to, false, lo, hi}); }
    void empty(int from, int to) { m_out[static_cast<std::size_t>(from)].push_back({to, true, 0, 0}); }

    void generate(const TREParseTree& t, NodeId id, int from, int to) {
        const ParseNode& n = t.at(id);
        switch (n.kind) {
        case NodeKind::Leaf: edge(from, to, n.range.lo, n.range.hi); break;
        case NodeKind::LineHead:
            if (from == 0) {
                m_hasHead = true;
                edge(from, to, m_head, m_head);
            } else {
                edge(from, to, '^', '^');
            }
            break;
        case NodeKind::LineTail:
            if (to == 1) {
                m_hasTail = true;
                edge(from, to, m_tail, m_tail);
            } else {
                edge(from, to, '$', '$');
            }
            break;
        case NodeKind::Concatenation: {
            const int m = add();
            generate(t, n.left, from, m);
            generate(t, n.right, m, to);
            break;
        }
        case NodeKind::Alternation:
            generate(t, n.left, from, to);
            generate(t, n.right, from, to);
            break;
        case NodeKind::Star: {
            const int c = add();
            const int d = add();
            empty(from, c);
            generate(t, n.left, c, d);
            empty(d, c);
            empty(c, to);
            break;
        }
        case NodeKind::Empty: empty(from, to); break;
        case NodeKind::Nothing: break;
        }
    }

    States closure(States s) const {
        std::vector<int> stack(s.begin(), s.end());
        while (!stack.empty()) {
            const int x = stack.back();
            stack.pop_back();
            for (const Edge& e : m_out[static_cast<std::size_t>(x)]) {
                if (e.empty && s.insert(e.to).second) stack.push_back(e.to);
            }
        }
        return s;
    }

    std::vector<std::vector<Edge>> m_out;
    Code m_head;
    Code m_tail;
    bool m_hasHead = false;
    bool m_hasTail = false;
};

// The NFA's state sets stepped one code at a time, without any cache: what
// the lazily built automaton must agree with. Unanchored, the start closure
// joins the set before every code.
class NfaSetWalk {
public:
    NfaSetWalk(const TRE_NFA& nfa, bool unanchored)
        : m_nfa(nfa), m_unanchored(unanchored), m_start(nfa.stateCount()), m_next(nfa.stateCount()) {
        std::vector<int> stack = {0};
        m_start.include(0);
        nfa.close(m_start, stack);
        m_set = unanchored ? TRE_NFAStateSet(nfa.stateCount()) : m_start;
    }
    // Reads code; true when the set is then accepting.
    bool step(Code code) {
        if (m_unanchored) m_set.unite(m_start);
        m_nfa.step(m_set, code, m_next, m_stack);
        std::swap(m_set, m_next);
        return m_set.contains(1);
    }
    bool alive() const { return !m_set.empty(); }

private:
    const TRE_NFA& m_nfa;
    bool m_unanchored;
    TRE_NFAStateSet m_start;
    TRE_NFAStateSet m_set;
    TRE_NFAStateSet m_next;
    std::vector<int> m_stack;
};

struct RefChar {
    Code code;
    std::size_t length;
};

// Subject characters: a lead byte at the very end stands alone.
inline RefChar refCharAt(const std::string& s, std::size_t pos) {
    if (pos >= s.size()) return {0, 0};
    const auto b = static_cast<unsigned char>(s[pos]);
    if (isLeadByte(b) && pos + 1 < s.size()) return {static_cast<Code>(b << 8 | static_cast<unsigned char>(s[pos + 1])), 2};
    return {b, 1};
}

// The leftmost-longest search of the string matcher, with the anchors
// resolved at line heads and before the separator or the end.
inline std::optional<std::pair<std::size_t, std::size_t>> referenceSearch(const std::string& pattern,
                                                                          const std::string& s, Code separator) {
    const ReferenceNfa nfa(pattern, 0xFFFD, 0xFFFE);
    using States = ReferenceNfa::States;
    const auto longest = [&](std::size_t pos, const States& startStates) -> std::optional<std::size_t> {
        if (startStates.empty()) return std::nullopt;
        States st = startStates;
        std::optional<std::size_t> last;
        RefChar c{0, 0};
        for (;;) {
            if (ReferenceNfa::accepts(st)) last = pos;
            c = refCharAt(s, pos);
            if (c.length == 0) break;
            States next = nfa.step(st, c.code);
            if (next.empty()) break;
            st = std::move(next);
            pos += c.length;
        }
        if (c.code != 0 && c.code != separator) return last;
        if (!nfa.step(st, 0xFFFE).empty()) return pos;
        return last;
    };
    if (!nfa.hasHead() && !nfa.hasTail()) {
        if (s.empty()) {
            if (ReferenceNfa::accepts(nfa.start())) return std::make_pair(std::size_t{0}, std::size_t{0});
            return std::nullopt;
        }
        for (std::size_t start = 0; start < s.size(); start += refCharAt(s, start).length) {
            if (const auto end = longest(start, nfa.start())) {
                // Without anchors the tail step never applies, so this is the
                // longest accepted end.
                return std::make_pair(start, *end);
            }
        }
        return std::nullopt;
    }
    const auto attempt = [&](std::size_t pos) -> std::optional<std::size_t> {
        if (!nfa.hasHead()) return longest(pos, nfa.start());
        const auto anchored = longest(pos, nfa.step(nfa.start(), 0xFFFD));
        if (!anchored) return std::nullopt;
        const auto plain = longest(pos, nfa.start());
        return plain && *plain > *anchored ? plain : anchored;
    };
    if (const auto end = attempt(0)) return std::make_pair(std::size_t{0}, *end);
    for (std::size_t pos = 0; pos < s.size(); pos += refCharAt(s, pos).length) {
        if (const auto end = longest(pos, nfa.start())) return std::make_pair(pos, *end);
        if (s[pos] == '\n' && nfa.hasHead()) {
            if (const auto end = attempt(pos + 1)) return std::make_pair(pos + 1, *end);
        }
    }
    if (nfa.hasTail() && !nfa.step(nfa.start(), 0xFFFE).empty()) return std::make_pair(s.size(), s.size());
    return std::nullopt;
}

struct RefHit {
    std::size_t lineNo;
    std::string line;
    friend bool operator==(const RefHit&, const RefHit&) = default;
    friend void PrintTo(const RefHit& h, std::ostream* os) { *os << h.lineNo << ":" << ::testing::PrintToString(h.line); }
};

// The lines of a file the grep reports: text is normalised (CR LF and lone
// CR end lines, zero bytes read as spaces), a line feed stands in front of
// the first line, and a line is reported when a walk starting on the line
// feed in front of it or on one of its characters accepts after at least
// one character, wherever in the file that walk ends.
inline std::vector<RefHit> referenceGrep(const std::string& pattern, const std::string& file) {
    std::string text = "\n";
    for (std::size_t i = 0; i < file.size(); ++i) {
        const char b = file[i];
        if (b == '\r') {
            if (i + 1 < file.size() && file[i + 1] == '\n') continue;
            text += '\n';
        } else {
            text += b == '\0' ? ' ' : b;
        }
    }
    if (file.empty()) return {};
    if (text.back() != '\n') text += '\n';
    const ReferenceNfa nfa(pattern, '\n', '\n');
    const auto charAt = [&](std::size_t i) -> RefChar {
        const auto b = static_cast<unsigned char>(text[i]);
        if (isLeadByte(b) && i + 1 < text.size() && text[i + 1] != '\n') {
            return {static_cast<Code>(b << 8 | static_cast<unsigned char>(text[i + 1])), 2};
        }
        return {b, 1};
    };
    const auto matchesFrom = [&](std::size_t p) {
        ReferenceNfa::States st = nfa.start();
        while (p < text.size()) {
            const RefChar c = charAt(p);
            st = nfa.step(st, c.code);
            if (st.empty()) return false;
            if (ReferenceNfa::accepts(st)) return true;
            p += c.length;
        }
        return false;
    };
    std::vector<RefHit> hits;
    std::size_t lineNo = 1;
    for (std::size_t lf = 0; lf + 1 < text.size(); ++lineNo) {
        const std::size_t end = text.find('\n', lf + 1);
        bool hit = matchesFrom(lf);
        for (std::size_t p = lf + 1; !hit && p < end; p += charAt(p).length) hit = matchesFrom(p);
        if (hit) hits.push_back({lineNo, text.substr(lf + 1, end - lf - 1)});
        lf = end;
    }
    return hits;
}

// Random patterns and subjects over pieces that stress Shift-JIS: trail
// bytes equal to \ and |, a lone lead byte, line breaks, anchors, classes.
class PatternGenerator {
public:
    explicit PatternGenerator(unsigned seed) : m_rng(seed) {}

    std::string pattern(int depth = 3) {
        static const std::vector<std::string> kAtoms = {
            "a", "b", "\\\\", "\\|", "\x95\x5C", "\x83\x7C", "\x82\xA0", ".", "[ab]", "[^a]",
            "[\x82\xA0-\x82\xF1]", "[\\\\|]", "^", "$", "\\x5c", "x", "[^\x95\x5C]", "\\n"};
        const int choice = pick(depth <= 0 ? 1 : 8);
        switch (choice) {
        case 0: return kAtoms[static_cast<std::size_t>(pick(static_cast<int>(kAtoms.size())))];
        case 1:
        case 2: return pattern(depth - 1) + pattern(depth - 1);
        case 3: return pattern(depth - 1) + "|" + pattern(depth - 1);
        case 4: return "(" + pattern(depth - 1) + ")*";
        case 5: return "(" + pattern(depth - 1) + ")+";
        case 6: return "(" + pattern(depth - 1) + ")?";
        default: return "(" + pattern(depth - 1) + ")";
        }
    }

    std::string subject(int maxPieces) {
        static const std::vector<std::string> kPieces = {
            "a", "b", "\\", "|", "\n", "\r\n", "\r", "\x95\x5C", "\x83\x7C", "\x82\xA0", "x", "^", "$", "\x95", " "};
        std::string s;
        const int n = pick(maxPieces + 1);
        for (int i = 0; i < n; ++i) s += kPieces[static_cast<std::size_t>(pick(static_cast<int>(kPieces.size())))];
        return s;
    }

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }

private:
    std::mt19937 m_rng;
};

}  // namespace tabulo::regex::testing
